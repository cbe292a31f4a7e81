#pragma once

#include "VirtualClock.h"
#include "audio/AudioBackend.h"
#include "audio/LastAudioError.h"

#include <QStringList>
#include <map>
#include <vector>

/// An audio engine on the virtual clock for logic tests. Failures are scripted; every call that
/// changes something is recorded; a stream of an existing file "plays" for soundMs; the test
/// plays the recording thread by delivering level reports itself.
class FakeAudioBackend : public AudioBackend
{
public:
    struct Input
    {
        QString name;
        std::uint32_t flags;
        bool readable = true;
    };

    static constexpr std::uint32_t AcceptedVersion = 0x010000;

    explicit FakeAudioBackend(const VirtualClock& clock) : m_clock(clock) {}

    // The script.
    std::uint32_t libraryVersion = AcceptedVersion;
    std::uint32_t recordingInitError = AudioError::None; // initRecording fails with it
    std::uint32_t outputInitError = AudioError::None;    // initOutput fails with it
    std::uint32_t recordingStartError = AudioError::None;
    bool levelsSettable = true;
    std::vector<Input> inputs{{QStringLiteral("Microphone"), InputFlags::TypeMicrophone}};
    std::map<QString, int> fileRates; // a file's own rate; 44100 when not named here
    qint64 soundMs = 1000;
    VolumeControl* soundServer = nullptr; // the sound server's volumes, when there is one

    // What happened.
    QStringList calls;
    bool recordingStarted = false;
    bool outputStarted = false;
    bool outputPaused = false;
    /// The recordings that run now.
    int activeRecordings() const;
    /// The attributes a stream was last given, and whether it was ever played.
    struct Stream
    {
        QString path;
        ChannelAttributes attributes;
        bool attributesSet = false;
        qint64 startedAtMs = -1;
        bool stopped = false;
        bool freed = false;
    };
    const Stream& stream(AudioHandle handle) const { return m_streams.at(handle); }

    /// Stands in for the recording thread: hands a level report to a running recording.
    void report(AudioHandle recording, std::uint32_t level);
    /// The callback a recording was started with.
    LevelCallback callbackOf(AudioHandle recording) const;

    std::uint32_t errorCode() const override { return m_error.code(); }
    std::uint32_t version() override;
    std::uint32_t requiredVersion() const override { return AcceptedVersion; }
    void setDeviceListener(AudioDeviceListener* listener) override { deviceListener = listener; }
    VolumeControl* volumeControl() override { return soundServer; }
    /// Where the engine would tell that its devices come and go.
    AudioDeviceListener* deviceListener = nullptr;
    bool initRecording() override;
    bool initOutput(int sampleRate) override;
    void freeRecording() override;
    void freeOutput() override;
    bool pauseOutput() override;
    bool resumeOutput() override;
    std::optional<QString> inputName(int index) const override;
    std::optional<std::uint32_t> inputFlags(int index) const override;
    bool setInput(int index, std::uint32_t setting) override;
    AudioHandle startRecording(int sampleRate, LevelCallback onLevel) override;

    AudioHandle createFileStream(const QString& path) override;
    void freeStream(AudioHandle stream) override;
    bool play(AudioHandle stream) override;
    std::optional<ChannelAttributes> attributes(AudioHandle channel) const override;
    bool setAttributes(AudioHandle channel, const ChannelAttributes& attributes) override;
    bool stop(AudioHandle channel) override;
    bool isActive(AudioHandle channel) const override;

private:
    struct Recording
    {
        LevelCallback callback;
        bool active = true;
    };
    Stream* liveStream(AudioHandle handle);

    const VirtualClock& m_clock;
    LastAudioError m_error;
    AudioHandle m_lastHandle = 0;
    std::map<AudioHandle, Stream> m_streams;
    std::map<AudioHandle, Recording> m_recordings;
};
