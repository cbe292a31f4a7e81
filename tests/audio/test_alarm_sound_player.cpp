#include "FakeAudioBackend.h"
#include "FakeTunables.h"
#include "TempEnvironment.h"
#include "audio/AlarmSoundPlayer.h"
#include "core/Random.h"

#include <QFile>
#include <QTest>
#include <set>

namespace {
/// Gives the draws it is told to and remembers the ranges it was asked for.
class ScriptedRandom : public RandomSource
{
public:
    int Random(int n) override
    {
        ranges.push_back(n);
        return n <= 0 ? 0 : next % n;
    }
    int next = 0;
    std::vector<int> ranges;
};

QString makeFile(const TempEnvironment& env, const QString& name)
{
    const QString path = env.root() + QLatin1Char('/') + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("RIFF");
    return path;
}

struct Player
{
    VirtualClock clock;
    FakeAudioBackend audio{clock};
    FakeTunables tunables;
    ScriptedRandom random;
    AlarmSoundPlayer player{audio, tunables, random};

    Player()
    {
        audio.outputStarted = true;
        tunables.set(Tunable::trkGlobalAlteration, 0);
        tunables.set(Tunable::trkRandomAlteration, 0);
        tunables.set(Tunable::trkAlarmVolume, 50);
    }
};
} // namespace

class AlarmSoundPlayerTest : public QObject
{
    Q_OBJECT
private slots:
    void frequencyFollowsTheWholeNumberSteps_data()
    {
        QTest::addColumn<int>("f0");
        QTest::addColumn<int>("global");
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("expected");
        // Both sliders at 0: the draw is 0 and the factor r - 10 is -10.
        QTest::newRow("44100 plays 39 Hz low") << 44100 << 0 << 0 << 44061;
        QTest::newRow("8000 stays") << 8000 << 0 << 0 << 8000;
        QTest::newRow("base 1 equals 0") << 44100 << 1 << 0 << 44061;
        QTest::newRow("base -1 equals 0") << 44100 << -1 << 0 << 44061;
        QTest::newRow("base -3 truncates toward zero") << 44100 << -3 << 0 << 43660;
        QTest::newRow("base 100") << 44100 << 100 << 0 << 63901;
        QTest::newRow("base -100") << 44100 << -100 << 0 << 24211;
        QTest::newRow("random 50, highest draw") << 44100 << 0 << 9 << 48951 - 489;
        QTest::newRow("random 100, highest draw") << 44100 << 0 << 19 << 48951 + 9 * 489;
        QTest::newRow("96 kHz at base 100 clamps") << 96000 << 100 << 0 << 100000;
        QTest::newRow("a tiny rate clamps up") << 100 << -100 << 0 << 100;
        QTest::newRow("just above the floor") << 150 << -100 << 0 << 101;
        QTest::newRow("an absurd header rate clamps") << 2000000000 << 100 << 19 << 100000;
    }

    void frequencyFollowsTheWholeNumberSteps()
    {
        QFETCH(int, f0);
        QFETCH(int, global);
        QFETCH(int, r);
        QFETCH(int, expected);
        QCOMPARE(PlaybackFrequency(f0, global, r), expected);
    }

    void randomDrawSpansTwiceTheTensOfTheRandomPosition()
    {
        QCOMPARE(RandomAlterationSpan(0), 0);
        QCOMPARE(RandomAlterationSpan(9), 0);
        QCOMPARE(RandomAlterationSpan(10), 2);
        QCOMPARE(RandomAlterationSpan(59), 10);
        QCOMPARE(RandomAlterationSpan(100), 20);
    }

    void randomFiftyNeverExceedsOnePercentBelowTheBase()
    {
        // Every draw the real generator can give lands on one of ten steps below F1.
        TempEnvironment env;
        Player p;
        SeededRandom seeded(7);
        AlarmSoundPlayer player(p.audio, p.tunables, seeded);
        p.tunables.set(Tunable::trkRandomAlteration, 50);
        const QString path = makeFile(env, QStringLiteral("a.wav"));
        std::set<int> heard;
        for (int i = 0; i < 400; ++i) {
            player.PlayHow(0, PanCentre, path);
            heard.insert(p.audio.stream(player.PlaySlots()[0]).attributes.frequency);
        }
        std::set<int> steps;
        for (int factor = -10; factor <= -1; ++factor)
            steps.insert(48951 + factor * 489);
        QCOMPARE(heard, steps);
        QVERIFY(*heard.rbegin() <= 48951 - 48951 / 100);
    }

    void playHowReplacesTheSlotThenSetsAndStarts_data()
    {
        QTest::addColumn<int>("panMode");
        QTest::addColumn<QString>("attributes");
        QTest::newRow("right") << 0 << "set 2 44061 50 100";
        QTest::newRow("centre") << 1 << "set 2 44061 50 0";
        QTest::newRow("left") << 2 << "set 2 44061 50 -100";
        QTest::newRow("3 keeps the file's own") << 3 << "";
        QTest::newRow("-1 keeps the file's own") << -1 << "";
    }

    void playHowReplacesTheSlotThenSetsAndStarts()
    {
        QFETCH(int, panMode);
        QFETCH(QString, attributes);
        TempEnvironment env;
        Player p;
        const QString path = makeFile(env, QStringLiteral("a.wav"));
        p.player.PlayHow(0, panMode, path);
        p.audio.calls.clear();
        p.player.PlayHow(0, panMode, path);
        QStringList expected{"free 1", "create " + path};
        if (!attributes.isEmpty())
            expected << attributes;
        expected << "play 2";
        QCOMPARE(p.audio.calls, expected);
        QCOMPARE(p.player.PlaySlots()[0], AudioHandle(2));
        // The draw is taken whatever the direction, and the stream plays its own way without it.
        QCOMPARE(p.random.ranges, (std::vector<int>{0, 0}));
        const ChannelAttributes own = p.audio.stream(2).attributes;
        if (attributes.isEmpty())
            QCOMPARE(std::tuple(own.frequency, own.volume, own.pan), std::tuple(44100, 100, 0));
        QVERIFY(p.player.IsPlaying());
    }

    void aBusySlotIsCutOffBeforeTheNewSoundStarts()
    {
        TempEnvironment env;
        Player p;
        const QString first = makeFile(env, QStringLiteral("a.wav"));
        const QString second = makeFile(env, QStringLiteral("b.mp3"));
        p.player.PlayHow(0, PanLeft, first);
        p.clock.advance(100);
        QVERIFY(p.audio.isActive(1));
        p.player.PlayHow(0, PanRight, second);
        QVERIFY(!p.audio.isActive(1));
        QVERIFY(p.audio.stream(1).freed);
        QVERIFY(p.audio.isActive(2));
        QVERIFY(p.audio.calls.indexOf("free 1") < p.audio.calls.indexOf("create " + second));
    }

    void aFileThatCannotBeOpenedLeavesTheSlotEmptyAndSilent()
    {
        TempEnvironment env;
        Player p;
        p.player.PlayHow(0, PanCentre, makeFile(env, QStringLiteral("a.wav")));
        p.audio.calls.clear();
        p.player.PlayHow(0, PanCentre, env.root() + QStringLiteral("/missing.wav"));
        QCOMPARE(p.audio.calls, (QStringList{"free 1", "create " + env.root() + "/missing.wav"}));
        QCOMPARE(p.player.PlaySlots()[0], AudioHandle(0));
        QVERIFY(!p.player.IsPlaying());
    }

    void aSlotOutsideTheFourIsIgnored()
    {
        TempEnvironment env;
        Player p;
        p.player.PlayHow(4, PanCentre, makeFile(env, QStringLiteral("a.wav")));
        p.player.PlayHow(-1, PanCentre, makeFile(env, QStringLiteral("a.wav")));
        QVERIFY(p.audio.calls.isEmpty());
    }

    void volumeIsTheAlarmVolumePosition()
    {
        TempEnvironment env;
        Player p;
        p.tunables.set(Tunable::trkAlarmVolume, 73);
        p.player.PlayHow(0, PanCentre, makeFile(env, QStringLiteral("a.wav")));
        QCOMPARE(p.audio.stream(1).attributes.volume, 73);
    }

    void stopSoundsStopsAllFourThenFreesAllFour()
    {
        TempEnvironment env;
        Player p;
        const QString path = makeFile(env, QStringLiteral("a.wav"));
        for (int slot = 0; slot < 4; ++slot)
            p.player.PlayHow(slot, PanCentre, path);
        p.audio.calls.clear();
        p.player.StopSounds();
        QCOMPARE(p.audio.calls, (QStringList{"stop 1", "stop 2", "stop 3", "stop 4", "free 1",
                                             "free 2", "free 3", "free 4"}));
        QVERIFY(!p.player.IsPlaying());
        // The slots still name the freed streams, which are no channel any more.
        QCOMPARE(p.player.PlaySlots()[3], AudioHandle(4));
    }

    void isPlayingUntilEverySlotHasEndedThoughStreamsStayAllocated()
    {
        TempEnvironment env;
        Player p;
        const QString path = makeFile(env, QStringLiteral("a.wav"));
        p.player.PlayHow(0, PanCentre, path);
        p.clock.advance(600);
        p.player.PlayHow(3, PanCentre, path);
        p.clock.advance(600);
        QVERIFY2(p.player.IsPlaying(), "slot 3 still sounds after slot 0 ended");
        p.clock.advance(500);
        QVERIFY(!p.player.IsPlaying());
        QVERIFY(!p.audio.stream(1).freed);
        QVERIFY(!p.audio.stream(2).freed);
    }
};

QTEST_GUILESS_MAIN(AlarmSoundPlayerTest)
#include "test_alarm_sound_player.moc"
