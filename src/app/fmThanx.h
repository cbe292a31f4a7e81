#pragma once

#include "Greeting.h"

#include <QDialog>
#include <optional>

/// The first-run greeting: shown once per user, before the main window; however it closes, it
/// is marked seen. Modal; it exists only while it is shown.
class TfrmThanx : public QDialog
{
    Q_OBJECT
public:
    /// Shows the greeting unless the value under the key says it has been seen; its result, or
    /// nothing when it did not show.
    static std::optional<int> ShowThanx(SettingsStore& store, const QString& keyPath,
                                        const QString& valueName, const QString& productName);

    TfrmThanx(const GreetingRecord& record, const QString& productName, QWidget* parent = nullptr);
    ~TfrmThanx() override;

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout(const QString& productName);

    GreetingRecord m_record;
};
