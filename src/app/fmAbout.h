#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class UrlOpener;

/// The about window: the product, its version, where to get help, a few figures of the computer
/// and the program's two folders. Modal and always on top; it exists only while it is shown, and
/// every way out of it is a Cancel.
class TfrmAbout : public QDialog
{
    Q_OBJECT
public:
    /// Shows a new about window and returns its result once closed; while one is shown, closes
    /// that one instead and returns -1.
    static int ShowAbout(UrlOpener& urls, QWidget* parent = nullptr);

    explicit TfrmAbout(UrlOpener& urls, QWidget* parent = nullptr);
    ~TfrmAbout() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    /// Fills in the texts and figures, as they are at this showing.
    void FormActivate();
    QLabel* link(const char* name, int top);

    UrlOpener& m_urls;
    QLabel* m_version = nullptr;
    QLabel* m_homePage = nullptr;
    QLabel* m_supportMail = nullptr;
    QLabel* m_newsletter = nullptr;
    QLabel* m_memory = nullptr;
    QLabel* m_memoryLoad = nullptr;
    QLineEdit* m_appFolder = nullptr;
    QLineEdit* m_dataFolder = nullptr;

    static QPointer<TfrmAbout> s_current;
};
