// The main menu: "Options", "Help" and "More".
#include "fmMain.h"

#include <QMenuBar>

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
    options->addSeparator();
    m_ui.Exit2 = item(options, "Exit2", QStringLiteral("Exit"));
    connect(m_ui.Exit2, &QAction::triggered, this, &QWidget::close);

    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    item(help, "Programhelp1", QStringLiteral("Program Help"));
    item(help, "FAQ1", QStringLiteral("FAQ"));
    help->addSeparator();
    item(help, "Homepage1", QStringLiteral("Home Page"));
    item(help, "Checkforupdate1", QStringLiteral("Check for Update"));
    help->addSeparator();
    item(help, "About2", QStringLiteral("About..."));

    QMenu* more = menuBar()->addMenu(QStringLiteral("More"));
    more->setObjectName(QStringLiteral("mnuMore"));
    item(more, "mniGetMoreProducts", QStringLiteral("Get More Quillmere Products"), true);
    item(more, "mniRegisterToNewsletter", QStringLiteral("Register to the Newsletter"));
    item(more, "mniSellQuillmereProducts",
         QStringLiteral("Sell Quillmere Products and Earn Money"));
    item(more, "mniTellaFriendSendEmail", QStringLiteral("Tell a Friend (Send e-mail)"));
}
