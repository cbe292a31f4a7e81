// The main menu: "Options", "Help" and "More".
#include "fmMain.h"

#include "MainLogic.h"
#include "fmAbout.h"

#include <QMenuBar>
#include <tuple>

namespace {
QAction* item(QMenu* menu, const char* name, const QString& caption, bool isDefault = false)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (isDefault) {
        QFont font = action->font();
        font.setBold(true);
        action->setFont(font);
    }
    return action;
}
} // namespace

void TfrmMain::buildMenus()
{
    QMenu* options = menuBar()->addMenu(QStringLiteral("Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    m_ui.mnuResetSettingToDefault = item(options, "mnuResetSettingToDefault",
                                         QStringLiteral("Reset Settings to Default"), true);
    m_ui.ActKeyDetectToggle = item(options, "ActKeyDetectToggle", QStringLiteral("Keyboard Detection"));
    m_ui.ActKeyDetectToggle->setCheckable(true);
    m_ui.mnuProtection = item(options, "mnuProtection", QStringLiteral("Protection..."));
    options->addSeparator();
    m_ui.Exit2 = item(options, "Exit2", QStringLiteral("Exit"));
    connect(m_ui.Exit2, &QAction::triggered, this, &QWidget::close);

    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    m_ui.links = {
        {item(help, "Programhelp1", QStringLiteral("Program Help")), WebLink::ProgramHelp},
        {item(help, "FAQ1", QStringLiteral("FAQ")), WebLink::Faq},
    };
    help->addSeparator();
    // The program compares no versions: checking for an update is a look at the product page.
    m_ui.links.push_back({item(help, "Homepage1", QStringLiteral("Home Page")), WebLink::ProductPage});
    m_ui.links.push_back(
        {item(help, "Checkforupdate1", QStringLiteral("Check for Update")), WebLink::ProductPage});
    help->addSeparator();
    m_ui.About2 = item(help, "About2", QStringLiteral("About..."));

    QMenu* more = menuBar()->addMenu(QStringLiteral("More"));
    more->setObjectName(QStringLiteral("mnuMore"));
    for (const auto& [name, caption, link, isDefault] :
         {std::tuple{"mniGetMoreProducts", "Get More Quillmere Products", WebLink::ProductList, true},
          std::tuple{"mniRegisterToNewsletter", "Register to the Newsletter", WebLink::Newsletter, false},
          std::tuple{"mniSellQuillmereProducts", "Sell Quillmere Products and Earn Money",
                     WebLink::Affiliate, false},
          std::tuple{"mniTellaFriendSendEmail", "Tell a Friend (Send e-mail)", WebLink::TellAFriend, false}})
        m_ui.links.push_back({item(more, name, QString::fromLatin1(caption), isDefault), link});
}

void TfrmMain::connectLinks()
{
    MainLogic& logic = *m_logic;
    for (const auto& [action, link] : m_ui.links)
        connect(action, &QAction::triggered, &logic, [&logic, link = link] { logic.openLink(link); });
    connect(m_ui.About2, &QAction::triggered, this, [this, &logic] { TfrmAbout::ShowAbout(logic.urls(), this); });
}
