#include "WebLinks.h"

#include "app/Endpoints.h"
#include "core/Product.h"
#include "core/UrlOpener.h"

#include <QCoreApplication>

void ShellOpen(UrlOpener& opener, const QString& target)
{
    QCoreApplication::processEvents();
    opener.open(target);
}

void ComposeMail(UrlOpener& opener, const QString& address, const QString& subject, const QString& body)
{
    QCoreApplication::processEvents();
    opener.open(QStringLiteral("mailto:") + address + QStringLiteral("?subject=") + subject +
                QStringLiteral("&Body=") + body);
}

void OpenWebLink(UrlOpener& opener, WebLink link)
{
    switch (link) {
    case WebLink::ProductPage: return ShellOpen(opener, Endpoints::ProductPage);
    case WebLink::ProgramHelp: return ShellOpen(opener, Endpoints::ProductPage + QStringLiteral("#help"));
    case WebLink::Faq: return ShellOpen(opener, Endpoints::ProductPage + QStringLiteral("#faq"));
    case WebLink::ProductList: return ShellOpen(opener, Endpoints::ProductListPage);
    case WebLink::Newsletter: return ShellOpen(opener, Endpoints::NewsletterPage);
    case WebLink::Affiliate: return ShellOpen(opener, Endpoints::AffiliatePage);
    case WebLink::TellAFriend:
        return ComposeMail(opener, QString(), Product::Name + QStringLiteral("..."), Endpoints::ProductPage);
    case WebLink::SupportMail: return ComposeMail(opener, Endpoints::SupportAddress, QString(), QString());
    }
}
