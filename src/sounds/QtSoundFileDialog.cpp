#include "QtSoundFileDialog.h"

#include <QFileDialog>

void QtSoundFileDialog::configure(QFileDialog& dialog)
{
    dialog.setNameFilters({QStringLiteral("All (*.wav *.mp3 *.au)"), QStringLiteral("Wave (*.wav)"),
                           QStringLiteral("Mpeg layer 3 (*.mp3)")});
    dialog.selectNameFilter(dialog.nameFilters().constFirst());
    dialog.setDefaultSuffix(QStringLiteral("wav"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setSizeGripEnabled(true);
}

QString QtSoundFileDialog::chooseSoundFile()
{
    QFileDialog dialog(m_owner);
    configure(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
