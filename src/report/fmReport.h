#pragma once

#include <QDialog>

class MessageBoxes;
class QListView;
class QFrame;

/// The report window: the lines of the report file, oldest first, or "Nothing to report.".
/// Modal and read-only; it exists only while it is shown.
class TfrmReport : public QDialog
{
    Q_OBJECT
public:
    /// Shows a new report window on the report file modally and returns its result once it has
    /// closed.
    static int ShowReport(MessageBoxes& messages, const QString& reportFile,
                          QWidget* parent = nullptr);

    TfrmReport(MessageBoxes& messages, const QString& reportFile, QWidget* parent = nullptr);
    ~TfrmReport() override;

    /// true shows the list, false the words "Nothing to report.".
    void SetResultState(bool hasLines);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void FormCreate(MessageBoxes& messages, const QString& path);

    QListView* m_list = nullptr;
    QFrame* m_nothingToReport = nullptr;
};
