#include "fmThanx.h"

#include "core/Colours.h"
#include "report/WindowBars.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSvgRenderer>
#include <QPainter>
#include <memory>

namespace {
constexpr int ClientWidth = 449;
constexpr int ClientHeight = 221;

/// The program's icon drawn into a picture of the given size, centred and unstretched.
QPixmap iconPicture(QSize size)
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QSvgRenderer icon(QStringLiteral(":/program/ostrel.svg"));
    const int side = std::min(size.width(), size.height());
    QPainter painter(&picture);
    icon.render(&painter, QRectF((size.width() - side) / 2.0, (size.height() - side) / 2.0, side, side));
    return picture;
}
} // namespace

std::optional<int> TfrmThanx::ShowThanx(SettingsStore& store, const QString& keyPath,
                                        const QString& valueName, const QString& productName)
{
    const GreetingRecord record(store, keyPath, valueName);
    if (record.seen())
        return std::nullopt;
    const auto window = std::make_unique<TfrmThanx>(record, productName);
    CentreOnScreen(window.get());
    const int result = window->exec();
    QCoreApplication::processEvents();
    return result;
}

TfrmThanx::TfrmThanx(const GreetingRecord& record, const QString& productName, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      m_record(record)
{
    setObjectName(QStringLiteral("frmThanx"));
    setWindowTitle(productName);
    buildLayout(productName);
    // The window sees every key before its controls do.
    qApp->installEventFilter(this);
}

TfrmThanx::~TfrmThanx()
{
    qApp->removeEventFilter(this);
}

void TfrmThanx::buildLayout(const QString& productName)
{
    SetUpWhiteWindow(this, ClientWidth, ClientHeight);
    AddTitleBar(this, QStringLiteral("Welcome"), "Label1", Colours::GreetingBar);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(16, 45, 64, 48);
    picture->setPixmap(iconPicture(picture->size()));

    auto* thanks = new QLabel(ThanksLine(productName), this);
    thanks->setObjectName(QStringLiteral("lbl1"));
    thanks->setGeometry(100, 45, 209, 17);
    QFont bold = thanks->font();
    bold.setBold(true);
    thanks->setFont(bold);

    auto* text = new QLabel(QStringLiteral("We encourage you to visit our web site for more Quillmere products.\n"
                                           "We will be happy to answer your questions or hear your concerns.\n"
                                           "\n"
                                           "\n"
                                           "With regards, Quillmere programmers"),
                            this);
    text->setObjectName(QStringLiteral("lbl2"));
    // The text was laid out for a narrower font than a Linux desktop's: it wraps at the label's
    // width and takes the height it needs, which the space above the footer allows.
    QFont small = text->font();
    small.setPixelSize(11);
    text->setFont(small);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setGeometry(100, 70, 329, text->heightForWidth(329));

    QPushButton* ok = AddFooterButton(this, "btnOK", QStringLiteral("OK"), Colours::GreetingBar);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmThanx::done(int result)
{
    // However it closes, the greeting has been seen.
    m_record.markSeen();
    QDialog::done(result);
}

bool TfrmThanx::eventFilter(QObject* watched, QEvent* event)
{
    // Esc answers OK when it is released; its press alone does nothing.
    switch (EscapeKeyIn(this, watched, event)) {
    case EscapeKey::Pressed: return true;
    case EscapeKey::Released: accept(); return true;
    case EscapeKey::Other: break;
    }
    return QDialog::eventFilter(watched, event);
}
