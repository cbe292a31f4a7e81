#include "app/AboutFacts.h"

#include <QSet>
#include <QTest>

class AboutFactsTest : public QObject
{
    Q_OBJECT
private slots:
    void theVersionIsTheProjectsThreeNumbersAndTheBuildNumber()
    {
        const QStringList parts = GetAppVersion().split('.');
        QCOMPARE(parts.size(), 4);
        for (const QString& part : parts) {
            bool ok = false;
            const int number = part.toInt(&ok);
            QVERIFY2(ok && number >= 0 && number <= 65535, qPrintable(part));
        }
        QCOMPARE(parts.mid(0, 3).join('.'), QStringLiteral(OSTREL_PROJECT_VERSION));
        QCOMPARE(VersionLine("1.2.3.4", "Linux"), QStringLiteral("(v1.2.3.4 for Linux)"));
    }

    void memoryIsShownInGroupedKilobytesAndItsLoadInPerCent()
    {
        QCOMPARE(MemoryText(1048576ull * 1024, QLocale(QLocale::English, QLocale::UnitedStates)),
                 QStringLiteral("1,048,576 KB"));
        QCOMPARE(MemoryText(1048576ull * 1024, QLocale(QLocale::German, QLocale::Germany)),
                 QStringLiteral("1.048.576 KB"));
        // To the nearest whole kilobyte.
        QCOMPARE(MemoryText(1535, QLocale::c()), QStringLiteral("1 KB"));
        QCOMPARE(MemoryText(1536, QLocale::c()), QStringLiteral("2 KB"));
        QCOMPARE(MemoryLoadText(37), QStringLiteral("37 %"));

        const std::optional<MemoryStatus> status = ReadMemoryStatus();
        QVERIFY(status);
        QVERIFY(status->totalBytes > 0);
        QVERIFY(status->loadPercent >= 0 && status->loadPercent <= 100);
    }

    void theDotGridHasTwelveColumnsFromGrey233ToWhite()
    {
        const std::vector<Dot> dots = CreateDotGrid(492);
        QCOMPARE(dots.size(), std::size_t(12 * 6));
        QSet<int> greys;
        for (const Dot& dot : dots) {
            QCOMPARE(dot.rect.size(), QSize(9, 9));
            const int column = (dot.rect.left() - 4) / 36;
            QCOMPARE(dot.rect.left(), 36 * column + 4);
            QCOMPARE(dot.grey, 233 + 2 * column);
            QVERIFY((dot.rect.top() - 37) % 36 == 0 && dot.rect.top() <= 37 + 5 * 36);
            greys << dot.grey;
        }
        QCOMPARE(*std::min_element(greys.begin(), greys.end()), 233);
        QCOMPARE(*std::max_element(greys.begin(), greys.end()), 255);
        QVERIFY(CreateDotGrid(71).empty());
    }
};

QTEST_GUILESS_MAIN(AboutFactsTest)
#include "test_about_facts.moc"
