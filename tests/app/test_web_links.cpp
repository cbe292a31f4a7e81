#include "FakeUrlOpener.h"
#include "app/Endpoints.h"
#include "app/WebLinks.h"

#include <QTest>
#include <QTimer>

class WebLinksTest : public QObject
{
    Q_OBJECT
private slots:
    void eachLinkOpensItsPageOrMessage_data()
    {
        QTest::addColumn<WebLink>("link");
        QTest::addColumn<QString>("target");
        const QString page = Endpoints::ProductPage;
        QTest::newRow("product page") << WebLink::ProductPage << page;
        QTest::newRow("help") << WebLink::ProgramHelp << page + "#help";
        QTest::newRow("faq") << WebLink::Faq << page + "#faq";
        QTest::newRow("products") << WebLink::ProductList << Endpoints::ProductListPage;
        QTest::newRow("newsletter") << WebLink::Newsletter << Endpoints::NewsletterPage;
        QTest::newRow("affiliates") << WebLink::Affiliate << Endpoints::AffiliatePage;
        // Nothing between "mailto:" and "?subject=", and nothing after the empty fields.
        QTest::newRow("tell a friend") << WebLink::TellAFriend << "mailto:?subject=Ostrel...&Body=" + page;
        QTest::newRow("support") << WebLink::SupportMail << "mailto:" + Endpoints::SupportAddress + "?subject=&Body=";
    }

    void eachLinkOpensItsPageOrMessage()
    {
        QFETCH(WebLink, link);
        QFETCH(QString, target);
        FakeUrlOpener urls;
        OpenWebLink(urls, link);
        QCOMPARE(urls.opened, QStringList{target});
    }

    void aMailIsComposedWithNothingEscaped()
    {
        FakeUrlOpener urls;
        ComposeMail(urls, "a b&c?d@example.org", "Hi & bye?", "x=1&y=2 %20");
        QCOMPARE(urls.opened,
                 QStringList{"mailto:a b&c?d@example.org?subject=Hi & bye?&Body=x=1&y=2 %20"});
    }

    void pendingEventsAreHandledBeforeTheTargetIsOpened()
    {
        FakeUrlOpener urls;
        bool handledFirst = false;
        QTimer::singleShot(0, [&] { handledFirst = urls.opened.isEmpty(); });
        ShellOpen(urls, "https://example.org/");
        QVERIFY(handledFirst);
        handledFirst = false;
        QTimer::singleShot(0, [&] { handledFirst = urls.opened.size() == 1; });
        ComposeMail(urls, {}, {}, {});
        QVERIFY(handledFirst);
    }
};

QTEST_GUILESS_MAIN(WebLinksTest)
#include "test_web_links.moc"
