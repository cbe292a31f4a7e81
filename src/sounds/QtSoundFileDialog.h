#pragma once

#include "sounds/SoundFileDialog.h"

class QFileDialog;
class QWidget;

/// The open-file dialog for sound imports, owned by the given window (or by none).
class QtSoundFileDialog : public SoundFileDialog
{
public:
    explicit QtSoundFileDialog(QWidget* owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget* owner) { m_owner = owner; }

    QString chooseSoundFile() override;

    /// Filters, default suffix and file mode of the dialog.
    static void configure(QFileDialog& dialog);

private:
    QWidget* m_owner;
};
