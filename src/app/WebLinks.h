#pragma once

#include <QString>

class UrlOpener;

/// Lets pending events be processed, then hands the target to the desktop.
void ShellOpen(UrlOpener& opener, const QString& target);
/// Opens a new message: "mailto:" + address + "?subject=" + subject + "&Body=" + body, with
/// nothing escaped, as ShellOpen opens a page.
void ComposeMail(UrlOpener& opener, const QString& address, const QString& subject, const QString& body);

/// What the program's links open.
enum class WebLink {
    ProductPage,
    ProgramHelp,
    Faq,
    ProductList,
    Newsletter,
    Affiliate,
    TellAFriend, ///< a new message with the product page for a friend
    SupportMail, ///< a new message to the support address
};

void OpenWebLink(UrlOpener& opener, WebLink link);
