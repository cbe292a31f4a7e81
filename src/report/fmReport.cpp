#include "fmReport.h"

#include "ReportLinesModel.h"
#include "WindowBars.h"
#include "core/Colours.h"
#include "core/MessageBoxes.h"
#include "core/Product.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QPushButton>

namespace {
constexpr int ClientWidth = 342;
constexpr int ClientHeight = 416;
} // namespace

int TfrmReport::ShowReport(MessageBoxes& messages, const QString& reportFile, QWidget* parent)
{
    // A new window for every showing, so the file is read afresh each time; it is gone again
    // however the showing ends.
    const std::unique_ptr<TfrmReport> window =
        std::make_unique<TfrmReport>(messages, reportFile, parent);
    CentreOnScreen(window.get());
    const int result = window->exec();
    QCoreApplication::processEvents();
    return result;
}

TfrmReport::TfrmReport(MessageBoxes& messages, const QString& reportFile, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmReport"));
    buildLayout();
    FormCreate(messages, reportFile);
    // The window sees every key before its controls do.
    qApp->installEventFilter(this);
}

TfrmReport::~TfrmReport()
{
    qApp->removeEventFilter(this);
}

void TfrmReport::buildLayout()
{
    SetUpWhiteWindow(this, ClientWidth, ClientHeight);
    AddTitleBar(this, QStringLiteral("Report"), "Label10", Colours::LampOff);

    const QRect body(0, WindowBarHeight, ClientWidth, ClientHeight - 2 * WindowBarHeight);
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("ListBox1"));
    // Every line is one line of text high: a long report is laid out without measuring each.
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setGeometry(body);
    QFont listFont = m_list->font();
    listFont.setPixelSize(13);
    m_list->setFont(listFont);
    // A line longer than the list is wide is cut at the right edge.
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setWordWrap(false);

    m_nothingToReport = new QFrame(this);
    m_nothingToReport->setObjectName(QStringLiteral("pnlNothingToReport"));
    m_nothingToReport->setGeometry(body);
    auto* nothing = new QLabel(QStringLiteral("Nothing to report."), m_nothingToReport);
    nothing->setGeometry(0, 0, body.width(), body.height());
    nothing->setAlignment(Qt::AlignCenter);
    m_nothingToReport->hide();

    QPushButton* close = AddFooterButton(this, "btnCancel", QStringLiteral("Close"), Colours::LampOff);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmReport::FormCreate(MessageBoxes& messages, const QString& path)
{
    setWindowTitle(Product::Name);
    if (!QFile::exists(path)) {
        SetResultState(false);
        return;
    }
    QString error;
    bool ok = false;
    ReportText text = ReportText::read(path, &ok, &error);
    if (!ok) {
        // The list stays, empty; the window opens all the same.
        messages.error(QStringLiteral("Cannot open file \"%1\". %2").arg(path, error));
        SetResultState(true);
        return;
    }
    m_list->setModel(new ReportLinesModel(std::move(text), this));
    SetResultState(m_list->model()->rowCount() > 0);
}

void TfrmReport::SetResultState(bool hasLines)
{
    m_list->setVisible(hasLines);
    m_nothingToReport->setVisible(!hasLines);
}

bool TfrmReport::eventFilter(QObject* watched, QEvent* event)
{
    return CancelKeys(this, watched, event) || QDialog::eventFilter(watched, event);
}
