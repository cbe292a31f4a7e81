#include "AlarmFixture.h"
#include "FakeAlarmTrigger.h"
#include "FakeMainView.h"
#include "detect/MicrophoneDetector.h"

#include <QTest>

namespace {
quint32 word(quint32 left, quint32 right)
{
    return left | right << 16;
}

/// The detector on the virtual clock, asking a recording trigger for the alarm.
struct MicRig
{
    VirtualClock clock;
    FakeAlarmTrigger alarm;
    FakeTunables tunables;
    FakeMainView view;
    MicrophoneDetector detector{{alarm, tunables, clock, view, view}};

    void hear(const QList<quint32>& levels)
    {
        for (quint32 level : levels)
            detector.CheckLevel(level);
    }
};

QList<quint32> repeated(quint32 level, int times)
{
    return QList<quint32>(times, level);
}
} // namespace

using Levels = QList<quint32>;
Q_DECLARE_METATYPE(Levels)

class MicrophoneDetectorTest : public QObject
{
    Q_OBJECT
private slots:
    void requestsOnceTheLoudRunIsLongerThanTheDuration_data()
    {
        QTest::addColumn<int>("volume");
        QTest::addColumn<int>("duration");
        QTest::addColumn<Levels>("levels");
        QTest::addColumn<int>("requests");
        QTest::addColumn<int>("count");
        QTest::newRow("duration 0: the first loud report") << 50 << 0 << Levels{word(50, 0)} << 1 << 1;
        QTest::newRow("just below the volume") << 50 << 0 << Levels{word(49, 49)} << 0 << 0;
        QTest::newRow("duration 50: 50 loud reports") << 50 << 50 << repeated(word(60, 0), 50) << 0 << 50;
        QTest::newRow("duration 50: the 51st requests") << 50 << 50 << repeated(word(60, 0), 51) << 1 << 51;
        QTest::newRow("and every one after it") << 50 << 50 << repeated(word(60, 0), 53) << 3 << 53;
        QTest::newRow("silence leaves the count")
            << 50 << 2 << Levels{word(60, 0), word(60, 0), 0, word(60, 0)} << 1 << 3;
        QTest::newRow("a quiet report clears it")
            << 50 << 2 << Levels{word(60, 0), word(60, 0), word(10, 0), word(60, 0), word(60, 0)} << 0 << 2;
        QTest::newRow("volume 0: any sound counts") << 0 << 0 << Levels{word(0, 1)} << 1 << 1;
        QTest::newRow("volume 0: silence never does") << 0 << 0 << Levels{0, 0} << 0 << 0;
        QTest::newRow("left 20, right 70 is 70") << 70 << 0 << Levels{word(20, 70)} << 1 << 1;
        QTest::newRow("left 70, right 20 is 70") << 70 << 0 << Levels{word(70, 20)} << 1 << 1;
    }

    void requestsOnceTheLoudRunIsLongerThanTheDuration()
    {
        QFETCH(int, volume);
        QFETCH(int, duration);
        QFETCH(Levels, levels);
        QFETCH(int, requests);
        QFETCH(int, count);
        MicRig r;
        r.tunables.set(Tunable::trkMicTriggerVolume, volume);
        r.tunables.set(Tunable::trkMicTriggerDuration, duration);
        r.hear(levels);
        QCOMPARE(r.alarm.requests, QStringList(requests, "Microphone detected"));
        QCOMPARE(r.detector.TriggerCount(), count);
        QCOMPARE(r.view.durationGauge, count);
    }

    void gaugesShowValuesBeyondTheirRangeAtTheNearerEnd()
    {
        MicRig r;
        r.tunables.set(Tunable::trkMicTriggerVolume, 0);
        r.hear(repeated(word(250, 3), 150));
        QCOMPARE(r.detector.MicLevel(), 250u);
        QCOMPARE(r.view.detectionGauge, 100);
        QCOMPARE(r.detector.TriggerCount(), 150);
        QCOMPARE(r.view.durationGauge, 100);
        r.hear({0});
        QCOMPARE(r.view.detectionGauge, 0);
        QCOMPARE(r.view.durationGauge, 100);

        // A stopped recording empties both gauges and the count; the level stays as last heard.
        r.detector.recordingStopped();
        QCOMPARE(r.view.detectionGauge, 0);
        QCOMPARE(r.view.durationGauge, 0);
        QCOMPARE(r.detector.TriggerCount(), 0);
        r.hear({word(80, 0)});
        QCOMPARE(r.detector.TriggerCount(), 1);
        r.detector.ResetTriggerCount();
        QCOMPARE(r.detector.TriggerCount(), 0);
        QCOMPARE(r.view.durationGauge, 0);
    }

    void theLampLightsAtMost250MsAfterTheFirstOfABurst()
    {
        MicRig r;
        r.tunables.set(Tunable::trkMicTriggerDuration, 0);
        const Lamp lamp = Lamp::shpLedMicDetection;
        r.hear({word(90, 0)});
        QCOMPARE(r.view.lampColour(lamp), Colours::LampDetection);
        r.clock.advance(100);
        r.hear({word(90, 0)});
        r.clock.advance(149);
        QCOMPARE(r.view.lampColour(lamp), Colours::LampDetection);
        r.clock.advance(1);
        QCOMPARE(r.view.lampColour(lamp), Colours::LampOff);
        QVERIFY(!r.detector.TimLedMic().isEnabled());
        r.hear({word(90, 0)});
        QCOMPARE(r.view.lampColour(lamp), Colours::LampDetection);
        // A report that requests nothing leaves the lamp alone.
        r.clock.advance(250);
        r.hear({word(10, 0)});
        QCOMPARE(r.view.lampColour(lamp), Colours::LampOff);
    }

    void onlyAnArmedAlarmAcceptsTheRequestThoughTheLampAlwaysLights()
    {
        AlarmFixture f;
        f.tunables.set(Tunable::spnActivationDelay, 0);
        f.tunables.set(Tunable::trkMicTriggerDuration, 0);
        f.switches.setTag(Switch::ActMicDetectToggle, 1);
        f.addSound("siren.wav");
        FakeMainView gauges;
        MicrophoneDetector detector({f.controller, f.tunables, f.clock, gauges, f.view});

        detector.CheckLevel(word(90, 0));
        QCOMPARE(f.view.lampColour(Lamp::shpLedMicDetection), Colours::LampDetection);
        QVERIFY(f.report.ReportLines().isEmpty());
        QVERIFY(f.queue.isEmpty());

        f.armAndWait();
        detector.CheckLevel(word(90, 0));
        QCOMPARE(f.messages().last(), QStringLiteral("Microphone detected"));
        QVERIFY(!f.queue.isEmpty());
    }
};

QTEST_GUILESS_MAIN(MicrophoneDetectorTest)
#include "test_microphone_detector.moc"
