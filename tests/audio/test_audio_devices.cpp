#include "FakeAudioBackend.h"
#include "FakeMessageBoxes.h"
#include "MainWindowFixture.h"
#include "audio/AudioDevices.h"

#include <QComboBox>
#include <QSlider>
#include <QTest>

namespace {
using Inputs = std::vector<FakeAudioBackend::Input>;
constexpr std::uint32_t Off = InputFlags::Off;
constexpr std::uint32_t Mic = InputFlags::TypeMicrophone;
constexpr std::uint32_t LineType = 0x02000000;

QStringList callsFrom(const QStringList& calls, const QString& first)
{
    return calls.mid(calls.indexOf(first));
}
} // namespace

Q_DECLARE_METATYPE(Inputs)

class AudioDevicesTest : public QObject
{
    Q_OBJECT
private slots:
    void startUpReleasesChecksThenStartsRecordingBeforeOutput()
    {
        MainWindowFixture f;
        f.open();
        QVERIFY(f.created);
        QCOMPARE(f.audio.calls.mid(0, 5),
                 (QStringList{"freeOutput", "freeRecording", "version", "initRecording",
                              "initOutput 44100"}));
        QVERIFY(f.messages.shown.isEmpty());
    }

    void anOldLibraryEndsTheProgramBeforeAnyDeviceStarts()
    {
        MainWindowFixture f;
        f.audio.libraryVersion = f.audio.requiredVersion() - 1;
        f.open();
        QVERIFY(!f.created);
        QCOMPARE(f.messages.shown, QStringList{"DLL was not loaded!"});
        QCOMPARE(f.audio.calls, (QStringList{"freeOutput", "freeRecording", "version"}));
        // Nothing after the devices ran: no input was listed, no playback was built.
        QCOMPARE(f.find<QComboBox>("cmbRecSource")->count(), 0);
        QVERIFY(!f.playback);
    }

    void aDeviceThatDoesNotStartEndsTheProgramWithTheCode_data()
    {
        QTest::addColumn<bool>("recordingFails");
        QTest::addColumn<uint>("code");
        QTest::addColumn<QStringList>("tail");
        QTest::newRow("recording") << true << 3u
                                   << QStringList{"initRecording", "freeRecording", "freeOutput"};
        QTest::newRow("output, code as unsigned")
            << false << 0xFFFFFFFFu
            << QStringList{"initRecording", "initOutput 44100", "freeRecording", "freeOutput"};
    }

    void aDeviceThatDoesNotStartEndsTheProgramWithTheCode()
    {
        QFETCH(bool, recordingFails);
        QFETCH(uint, code);
        QFETCH(QStringList, tail);
        MainWindowFixture f;
        (recordingFails ? f.audio.recordingInitError : f.audio.outputInitError) = code;
        f.open();
        QVERIFY(!f.created);
        QCOMPARE(f.messages.shown,
                 QStringList{QStringLiteral("Cannot start recording device! (%1)").arg(code)});
        QCOMPARE(callsFrom(f.audio.calls, "initRecording"), tail);
        QVERIFY(!f.playback);
    }

    void inputChoiceFollowsTheThreeRules_data()
    {
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<int>("selected");
        QTest::newRow("the last input that is on wins")
            << Inputs{{"Line", LineType}, {"CD", Off}, {"Aux", LineType}, {"Mic", Mic | Off}} << 2;
        QTest::newRow("else the first of microphone type")
            << Inputs{{"Line", LineType | Off}, {"Front", Mic | Off}, {"Rear", Mic | Off}} << 1;
        QTest::newRow("else the first named Microphone, in any case")
            << Inputs{{"Line", Off}, {"microPHONE", Off}, {"Microphone", Off}} << 1;
        QTest::newRow("Microphone 1 is not Microphone")
            << Inputs{{"Line", Off}, {"Microphone 1", Off}} << -1;
        QTest::newRow("no inputs at all") << Inputs{} << -1;
    }

    void inputChoiceFollowsTheThreeRules()
    {
        QFETCH(Inputs, inputs);
        QFETCH(int, selected);
        MainWindowFixture f;
        f.audio.inputs = inputs;
        f.open();
        auto* source = f.find<QComboBox>("cmbRecSource");
        QCOMPARE(source->count(), int(inputs.size()));
        for (int i = 0; i < int(inputs.size()); ++i)
            QCOMPARE(source->itemText(i), inputs[std::size_t(i)].name);
        QCOMPARE(source->currentIndex(), selected);
        QCOMPARE(f.messages.shown,
                 selected < 0 ? QStringList{"Microphone not found!"} : QStringList{});
        // Applying the choice switches every input off, then the chosen one on.
        QStringList applied;
        for (int i = 0; i <= int(inputs.size()); ++i)
            applied << QStringLiteral("setInput %1 0x10000").arg(i);
        applied << QStringLiteral("setInput %1 0x20000").arg(selected);
        QCOMPARE(callsFrom(f.audio.calls, "setInput 0 0x10000").mid(0, applied.size()), applied);
        for (int i = 0; i < int(inputs.size()); ++i)
            QCOMPARE(bool(f.audio.inputs[std::size_t(i)].flags & Off), i != selected);
    }

    void anUnreadableInputIsReportedAndStartUpGoesOn()
    {
        MainWindowFixture f;
        f.audio.inputs = {{"Line", Off}, {"Mic", 0, false}, {"Aux", 0}};
        f.open();
        QVERIFY(f.created);
        // The listing ends at the unreadable input; nothing before it was on.
        QCOMPARE(f.messages.shown,
                 (QStringList{"Cannot get input device! (3)", "Microphone not found!"}));
        QCOMPARE(f.find<QComboBox>("cmbRecSource")->currentIndex(), -1);
        QVERIFY(f.playback);
    }

    void theSensitivitySliderTakesTheInputsVolumeAndWritesItBack_data()
    {
        QTest::addColumn<uint>("volume");
        QTest::addColumn<int>("position");
        QTest::newRow("40") << 40u << 40;
        QTest::newRow("beyond 100 is held at 100") << 250u << 100;
    }

    void theSensitivitySliderTakesTheInputsVolumeAndWritesItBack()
    {
        QFETCH(uint, volume);
        QFETCH(int, position);
        MainWindowFixture f;
        f.audio.inputs = {{"Line", Off}, {"Mic", Mic | volume}};
        f.open();
        auto* slider = f.find<QSlider>("trkMicSensivity");
        QCOMPARE(slider->value(), position);
        QCOMPARE(slider->toolTip(), QString::number(position));
        QCOMPARE(f.audio.calls.last(), QStringLiteral("setInput 1 0x%1").arg(0x40000 + position, 0, 16));
    }

    void anUnchangedSensitivityWritesNothing()
    {
        MainWindowFixture f;
        f.audio.inputs = {{"Mic", Mic}};
        f.open();
        QVERIFY(!f.audio.calls.join(' ').contains("0x4"));
    }

    void movingTheSensitivitySetsTheLevelAndTheHintButStoresNothing()
    {
        MainWindowFixture f;
        f.audio.inputs = {{"Line", Off}, {"Mic", Mic}};
        f.open();
        f.find<QSlider>("trkMicSensivity")->setValue(65);
        QCOMPARE(f.audio.inputs[1].flags & InputFlags::VolumeMask, 65u);
        QCOMPARE(f.find<QSlider>("trkMicSensivity")->toolTip(), QStringLiteral("65"));
        QVERIFY(f.store->ReadSetting(gRegistry::TuningKey, "frmMaintrkMicSensivity").isEmpty());
    }

    void anInputWithoutASettableLevelIsLeftAlone()
    {
        MainWindowFixture f;
        f.audio.levelsSettable = false;
        f.audio.inputs = {{"Mic", Mic | 20}};
        f.open();
        f.find<QSlider>("trkMicSensivity")->setValue(90);
        QCOMPARE(f.audio.inputs[0].flags, Mic | 20);
        QCOMPARE(f.find<QSlider>("trkMicSensivity")->toolTip(), QStringLiteral("90"));
        QVERIFY(f.messages.shown.isEmpty());
    }

    void anInputThatCannotBeReadBackIsReported()
    {
        VirtualClock clock;
        FakeAudioBackend audio(clock);
        FakeMessageBoxes messages;
        audio.inputs = {{"Mic", Mic, false}};
        AudioDevices devices(audio, messages);
        QCOMPARE(devices.applyInput(0), std::nullopt);
        QCOMPARE(messages.shown, QStringList{"Cannot set input device! (3)"});
        // Nothing selected is not a failure.
        messages.shown.clear();
        QCOMPARE(devices.applyInput(-1), std::nullopt);
        QVERIFY(messages.shown.isEmpty());
    }
};

QTEST_MAIN(AudioDevicesTest)
#include "test_audio_devices.moc"
