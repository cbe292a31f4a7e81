// The speakers kept on while the alarm sounds and the microphone tamper trigger, on the
// virtual clock against a sound server that answers late and in steps.
#include "AlarmFixture.h"
#include "FakeVolumeControl.h"
#include "alarm/SpeakerGuard.h"
#include "detect/MicrophoneTamper.h"

#include <QTest>

namespace {
const QString MutedRestored = QStringLiteral("Speakers muted - restored");
const QString LoweredRestored = QStringLiteral("Volume lowered - restored");
const VolumeState Held{QStringLiteral("sink"), 120, false};

/// Armed, with two sounds of 1 s to each alarm and no trigger delay.
void prepare(AlarmFixture& f)
{
    f.tunables.set(Tunable::spnActivationDelay, 0);
    f.tunables.set(Tunable::spnTriggerDelay, 0);
    f.tunables.set(Tunable::trkPersistence, 1);
    f.tunables.set(Tunable::trkPersistenceRandom, 0);
    f.switches.setTag(Switch::ActMouDetectToggle, 1);
    f.addSound("siren.wav");
    f.armAndWait();
}

/// Sets the alarm off and lets its first sound start.
void soundAlarm(AlarmFixture& f)
{
    f.controller.ActivateAlarm("Mouse detected");
    f.clock.advance(1);
    QVERIFY(f.playback.IsPlaying());
}

/// Until the sounds have ended and the guard has looked once more.
void letItEnd(AlarmFixture& f)
{
    f.clock.advance(2 * f.playback.soundMs + 2 * 250 + SpeakerGuard::EndPollMs);
    QVERIFY(f.queue.isEmpty());
    QVERIFY(!f.playback.IsPlaying());
}
} // namespace

class SpeakerProtectionTest : public QObject
{
    Q_OBJECT
private slots:
    void theSpeakersAreHeldWhileItSoundsAndGivenBackAfter()
    {
        AlarmFixture f;
        FakeVolumeControl server;
        SpeakerGuard guard({f.clock, &server, f.report, f.queue, f.playback}, Held.volume);
        prepare(f);
        QVERIFY(server.asked.empty());

        soundAlarm(f);
        QVERIFY(guard.engaged());
        QVERIFY(server.serve());
        QCOMPARE(server.speakers, Held);
        // The steps the server took on the way were its own answers, nobody's interference.
        QVERIFY(!f.messages().contains(MutedRestored));
        QVERIFY(!f.messages().contains(LoweredRestored));

        // Still held between the two sounds of the burst.
        f.clock.advance(f.playback.soundMs);
        QVERIFY(guard.engaged());
        letItEnd(f);
        QVERIFY(!guard.engaged());
        QVERIFY(server.serve());
        QCOMPARE(server.speakers, (VolumeState{QStringLiteral("sink"), 40, true}));

        // The user's own change after the alarm stays.
        server.changeSpeakers({QStringLiteral("sink"), 5, true});
        QVERIFY(server.serve());
        QCOMPARE(server.speakers.volume, 5);
    }

    void interferenceIsUndoneAtOnceAndReportedOncePerAlarm()
    {
        AlarmFixture f;
        FakeVolumeControl server;
        SpeakerGuard guard({f.clock, &server, f.report, f.queue, f.playback}, Held.volume);
        prepare(f);

        for (int alarm = 1; alarm <= 2; ++alarm) {
            soundAlarm(f);
            QVERIFY(server.serve());
            for (int attempt = 0; attempt < 3; ++attempt) {
                server.changeSpeakers({QStringLiteral("sink"), Held.volume, true});
                QVERIFY(server.serve());
                QCOMPARE(server.speakers, Held);
                server.changeSpeakers({QStringLiteral("sink"), 10, false});
                QVERIFY(server.serve());
                QCOMPARE(server.speakers, Held);
            }
            // Turned up is no attack, but the held volume still comes back, unreported.
            server.changeSpeakers({QStringLiteral("sink"), 150, false});
            QVERIFY(server.serve());
            QCOMPARE(server.speakers, Held);
            QCOMPARE(f.messages().count(MutedRestored), alarm);
            QCOMPARE(f.messages().count(LoweredRestored), alarm);
            letItEnd(f);
            QVERIFY(server.serve());
            QCOMPARE(server.speakers, (VolumeState{QStringLiteral("sink"), 40, true}));
            f.clock.advance(1500); // past the temporary mute
        }
    }

    void disarmingClosingAndAGuardThatGoesGiveTheSpeakersBack()
    {
        AlarmFixture f;
        FakeVolumeControl server;
        auto guard = std::make_unique<SpeakerGuard>(
            SpeakerGuard::Collaborators{f.clock, &server, f.report, f.queue, f.playback}, Held.volume);
        prepare(f);
        soundAlarm(f);
        QVERIFY(server.serve());
        f.controller.ActActivateToggleExecute();
        f.clock.advance(SpeakerGuard::EndPollMs);
        QVERIFY(!guard->engaged());
        QVERIFY(server.serve());
        QCOMPARE(server.speakers, (VolumeState{QStringLiteral("sink"), 40, true}));

        f.armAndWait();
        f.clock.advance(1500); // past the temporary mute
        soundAlarm(f);
        QVERIFY(server.serve());
        QCOMPARE(server.speakers, Held);
        guard->release();
        QVERIFY(server.serve());
        QCOMPARE(server.speakers, (VolumeState{QStringLiteral("sink"), 40, true}));

        letItEnd(f);
        f.clock.advance(1500);
        soundAlarm(f);
        QVERIFY(server.serve());
        QCOMPARE(server.speakers, Held);
        guard.reset();
        QVERIFY(server.serve());
        QCOMPARE(server.speakers, (VolumeState{QStringLiteral("sink"), 40, true}));
        QVERIFY(!server.watchingSpeakers());
    }

    void withoutASoundServerItSaysSoOnce()
    {
        AlarmFixture f;
        SpeakerGuard guard({f.clock, nullptr, f.report, f.queue, f.playback}, Held.volume);
        prepare(f);
        soundAlarm(f);
        letItEnd(f);
        f.clock.advance(1500);
        soundAlarm(f);
        QCOMPARE(f.messages().count("No sound server - speakers not kept on"), 1);
        QVERIFY(!guard.engaged());
    }

    void aSilencedMicrophoneIsATriggerWhileItsSwitchIsOn()
    {
        AlarmFixture f;
        FakeVolumeControl server;
        prepare(f);
        {
            MicrophoneTamper tamper(f.controller, f.switches, server);
            // The microphone switch is off: nothing.
            server.changeMicrophone({QStringLiteral("mic"), 80, true});
            QVERIFY(!f.messages().contains("Microphone muted"));
            server.changeMicrophone({QStringLiteral("mic"), 80, false});

            f.switches.setTag(Switch::ActMicDetectToggle, 1);
            server.changeMicrophone({QStringLiteral("mic"), 80, true});
            QCOMPARE(f.messages().count("Microphone muted"), 1);
            f.controller.ActActivateToggleExecute(); // disarmed
            server.changeMicrophone({QStringLiteral("mic"), 80, false});
            f.armAndWait(); // the report starts afresh
            f.clock.advance(1500); // past the temporary mute
            server.changeMicrophone({QStringLiteral("mic"), 0, false});
            QCOMPARE(f.messages().count("Microphone muted"), 1);
            // Turned further down while silenced is not a new act.
            f.clock.advance(5000);
            server.changeMicrophone({QStringLiteral("mic"), 0, true});
            QCOMPARE(f.messages().count("Microphone muted"), 1);
        }
        QVERIFY(!server.watchingMicrophone());
    }

    void aMicrophoneSilencedBeforeItWasWatchedIsNoTrigger()
    {
        AlarmFixture f;
        FakeVolumeControl server;
        server.microphone.muted = true;
        prepare(f);
        f.switches.setTag(Switch::ActMicDetectToggle, 1);
        MicrophoneTamper tamper(f.controller, f.switches, server);
        server.changeMicrophone({QStringLiteral("mic"), 50, true});
        QVERIFY(!f.messages().contains("Microphone muted"));
    }
};

QTEST_GUILESS_MAIN(SpeakerProtectionTest)
#include "test_speaker_protection.moc"
