#include "fmAbout.h"

#include "AboutFacts.h"
#include "app/Endpoints.h"
#include "WebLinks.h"
#include "core/Colours.h"
#include "core/Product.h"
#include "gVars.h"
#include "report/WindowBars.h"

#include <QApplication>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSysInfo>
#include <memory>

namespace {
constexpr int ClientWidth = 492;
constexpr int ClientHeight = 394;
constexpr int TextLeft = 112;

QLabel* label(QWidget* parent, const QString& text, QRect at)
{
    auto* created = new QLabel(text, parent);
    created->setGeometry(at);
    return created;
}

void setTextColour(QWidget* widget, std::uint32_t bgr)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(Colours::toArgb(bgr)));
    widget->setPalette(palette);
}

void setBold(QWidget* widget, int pixelSize = 0)
{
    QFont font = widget->font();
    font.setBold(true);
    if (pixelSize > 0)
        font.setPixelSize(pixelSize);
    widget->setFont(font);
}
} // namespace

QPointer<TfrmAbout> TfrmAbout::s_current;

int TfrmAbout::ShowAbout(UrlOpener& urls, QWidget* parent)
{
    if (s_current) {
        s_current->done(QDialog::Rejected);
        return -1;
    }
    const auto window = std::make_unique<TfrmAbout>(urls, parent);
    s_current = window.get();
    CentreOnScreen(window.get());
    const int result = window->exec();
    QCoreApplication::processEvents();
    return result;
}

TfrmAbout::TfrmAbout(UrlOpener& urls, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      m_urls(urls)
{
    setObjectName(QStringLiteral("frmAbout"));
    buildLayout();
    // The window sees every key before its controls do.
    qApp->installEventFilter(this);
    // Another program taking the activation closes the window.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive && isVisible())
            reject();
    });
}

TfrmAbout::~TfrmAbout()
{
    qApp->removeEventFilter(this);
}

QLabel* TfrmAbout::link(const char* name, int top)
{
    auto* created = label(this, QString(), QRect(TextLeft + 100, top, 260, 16));
    created->setObjectName(QString::fromLatin1(name));
    QFont font = created->font();
    font.setUnderline(true);
    created->setFont(font);
    setTextColour(created, 0xFF0000); // blue
    created->setCursor(Qt::PointingHandCursor);
    return created;
}

void TfrmAbout::buildLayout()
{
    SetUpWhiteWindow(this, ClientWidth, ClientHeight);
    for (const Dot& dot : CreateDotGrid(ClientWidth)) {
        auto* square = new QFrame(this);
        square->setGeometry(dot.rect);
        square->setAutoFillBackground(true);
        QPalette palette = square->palette();
        palette.setColor(QPalette::Window, QColor(dot.grey, dot.grey, dot.grey));
        square->setPalette(palette);
        square->lower();
    }
    AddTitleBar(this, QStringLiteral("About"), "Label1", Colours::GreetingBar);

    auto* icon = label(this, QString(), QRect(24, 45, 32, 32));
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(QIcon(QStringLiteral(":/program/ostrel.svg")).pixmap(32, 32));

    auto* title = label(this, Product::Name, QRect(TextLeft - 40, 40, 300, 22));
    title->setObjectName(QStringLiteral("lblTitle"));
    setBold(title, 16);
    setTextColour(title, Colours::LampOff);
    m_version = label(this, QString(), QRect(TextLeft - 40, 64, 424, 43));
    m_version->setObjectName(QStringLiteral("lblVersion"));
    m_version->setWordWrap(true);
    m_version->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setBold(m_version);
    setTextColour(m_version, Colours::LampOff);

    label(this, QStringLiteral("Home page:"), QRect(TextLeft, 112, 100, 16));
    m_homePage = link("lblHomePage", 112);
    label(this, QStringLiteral("Support e-mail:"), QRect(TextLeft, 132, 100, 16));
    m_supportMail = link("lblSupportMail", 132);
    label(this, QStringLiteral("Newsletter:"), QRect(TextLeft, 152, 100, 16));
    m_newsletter = link("lblNewsletter", 152);

    auto* picture = label(this, QString(), QRect(8, 184, 100, 30));
    picture->setObjectName(QStringLiteral("Image2"));
    picture->setPixmap(QIcon(QStringLiteral(":/program/ostrel.svg")).pixmap(30, 30));
    picture->setAlignment(Qt::AlignCenter);
    auto* rule = new QFrame(this);
    rule->setObjectName(QStringLiteral("Shape1"));
    rule->setGeometry(TextLeft, 198, 368, 2);
    rule->setAutoFillBackground(true);
    QPalette black = rule->palette();
    black.setColor(QPalette::Window, Qt::black);
    rule->setPalette(black);

    label(this, QStringLiteral("Memory available:"), QRect(TextLeft, 216, 150, 16));
    m_memory = label(this, QString(), QRect(TextLeft + 150, 216, 200, 16));
    m_memory->setObjectName(QStringLiteral("Label4"));
    label(this, QStringLiteral("System resources:"), QRect(TextLeft, 236, 150, 16));
    m_memoryLoad = label(this, QString(), QRect(TextLeft + 150, 236, 200, 16));
    m_memoryLoad->setObjectName(QStringLiteral("Label5"));

    // The folders can be selected and copied; nothing reads them back.
    const auto folderField = [this](const char* name, int top) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(name));
        field->setGeometry(TextLeft + 60, top + 18, 309, 15);
        field->setReadOnly(true);
        field->setFrame(false);
        field->setFocusPolicy(Qt::ClickFocus);
        return field;
    };
    label(this, QStringLiteral("Application folder:"), QRect(TextLeft, 262, 200, 16));
    m_appFolder = folderField("edtAppFolder", 262);
    label(this, QStringLiteral("Application data folder:"), QRect(TextLeft, 302, 200, 16));
    m_dataFolder = folderField("edtTntRoamingAppDataFolder", 302);

    QPushButton* close = AddFooterButton(this, "btnCancel", QStringLiteral("Close"), Colours::GreetingBar);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmAbout::showEvent(QShowEvent* event)
{
    FormActivate();
    QDialog::showEvent(event);
}

void TfrmAbout::FormActivate()
{
    setWindowTitle(Product::Name);
    m_version->setText(VersionLine(GetAppVersion(), QSysInfo::kernelType() == QLatin1String("linux")
                                                        ? QStringLiteral("Linux")
                                                        : QSysInfo::prettyProductName()));
    m_homePage->setText(Endpoints::ProductPage);
    m_supportMail->setText(Endpoints::SupportAddress);
    m_newsletter->setText(Endpoints::NewsletterPage);
    const std::optional<MemoryStatus> memory = ReadMemoryStatus();
    m_memory->setText(memory ? MemoryText(memory->totalBytes, QLocale::system()) : QString());
    m_memoryLoad->setText(memory ? MemoryLoadText(memory->loadPercent) : QString());
    for (const auto& [field, folder] : {std::pair{m_appFolder, AppFolder}, std::pair{m_dataFolder, DataFolder}}) {
        field->setText(folder);
        field->setCursorPosition(0); // a long path shows its beginning
    }
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == m_homePage)
            OpenWebLink(m_urls, WebLink::ProductPage);
        else if (watched == m_newsletter)
            OpenWebLink(m_urls, WebLink::Newsletter);
        else if (watched == m_supportMail)
            OpenWebLink(m_urls, WebLink::SupportMail);
    }
    return CancelKeys(this, watched, event) || QDialog::eventFilter(watched, event);
}
