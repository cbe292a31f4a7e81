#include "platform/LevelMeter.h"

#include <QTest>
#include <vector>

class LevelMeterTest : public QObject
{
    Q_OBJECT
private slots:
    void peaksMapLinearlyFromMinusSixtyDecibelsToFullScale_data()
    {
        QTest::addColumn<float>("peak");
        QTest::addColumn<int>("level");
        QTest::newRow("full scale") << 1.0f << 100;
        QTest::newRow("above full scale") << 1.7f << 100;
        QTest::newRow("-6 dB") << 0.5f << 90;
        QTest::newRow("-30 dB") << 0.0316228f << 50;
        QTest::newRow("-60 dB") << 0.001f << 0;
        QTest::newRow("below -60 dB") << 0.0001f << 0;
        QTest::newRow("the smallest sample") << 1.0f / 32768 << 0;
        QTest::newRow("silence") << 0.0f << 0;
    }

    void peaksMapLinearlyFromMinusSixtyDecibelsToFullScale()
    {
        QFETCH(float, peak);
        QFETCH(int, level);
        QCOMPARE(LevelMeter::levelOf(peak), level);
    }

    void leftIsTheLowWordAndRightTheHighWord()
    {
        QCOMPARE(LevelMeter::levelWord(1.0f, 0.0f), 100u);
        QCOMPARE(LevelMeter::levelWord(0.0f, 1.0f), 100u << 16);
        QCOMPARE(LevelMeter::levelWord(0.5f, 0.0316228f), 90u | 50u << 16);
    }

    void oneReportPerBlockWhateverTheReadSizes()
    {
        LevelMeter meter(2, 4410);
        std::vector<float> samples(2 * 9000, 0.0f);
        samples[2 * 4000] = 1.0f;      // the left peak, late in the first block
        samples[2 * 5000 + 1] = -0.5f; // a negative right peak in the second
        std::vector<std::uint32_t> reports;
        std::size_t fed = 0;
        for (std::size_t read : {1000u, 3000u, 441u, 1u, 4378u, 180u}) {
            meter.feed(samples.data() + 2 * fed, read,
                       [&](std::uint32_t level) { reports.push_back(level); });
            fed += read;
        }
        // 9000 frames make two whole blocks; the rest waits for the next read.
        QCOMPARE(reports, (std::vector<std::uint32_t>{100u, 90u << 16}));
    }

    void aMonoInputReportsItsLevelOnBothSides()
    {
        LevelMeter meter(1, 3);
        std::vector<std::uint32_t> reports;
        const float samples[] = {0.1f, -0.5f, 0.2f};
        meter.feed(samples, 3, [&](std::uint32_t level) { reports.push_back(level); });
        QCOMPARE(reports, std::vector<std::uint32_t>{90u | 90u << 16});
    }
};

QTEST_GUILESS_MAIN(LevelMeterTest)
#include "test_level_meter.moc"
