#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class VolumeControl;

/// A channel of the audio engine: a playing stream or a recording. 0 is no channel; so is a
/// handle that has been freed: stopping or freeing it does nothing and it is never active.
using AudioHandle = std::uint32_t;

/// Why the last failing call failed, read through errorCode().
namespace AudioError {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t LibraryUnusable = 1;  // the sound library cannot be initialised
constexpr std::uint32_t NotStarted = 2;       // the device the call needs is not started
constexpr std::uint32_t NoDevice = 3;         // no such device or input
constexpr std::uint32_t DeviceFailed = 4;     // the device refused to open or start
constexpr std::uint32_t FileOpen = 5;         // the file cannot be opened or decoded
constexpr std::uint32_t BadHandle = 6;        // no such channel
constexpr std::uint32_t BadValue = 7;         // a parameter out of its range
constexpr std::uint32_t Busy = 8;             // the device already records, or no free voice
constexpr std::uint32_t NotAvailable = 9;     // the device cannot do that (e.g. set a level)
constexpr std::uint32_t Ended = 10;           // the stream has played to its end
} // namespace AudioError

/// A recording input's flag word, and the settings that setInput() takes.
namespace InputFlags {
constexpr std::uint32_t Off = 0x10000;
constexpr std::uint32_t On = 0x20000;
constexpr std::uint32_t Level = 0x40000; // OR a level 0..100
constexpr std::uint32_t TypeMask = 0xFF000000;
constexpr std::uint32_t TypeMicrophone = 0x03000000;
constexpr std::uint32_t VolumeMask = 0xFFFF;
} // namespace InputFlags

/// Playback attributes of a channel: frequency in Hz (100..100000), volume 0..100 (linear gain
/// volume / 100), pan -100 (left only) .. 0 (both) .. 100 (right only).
struct ChannelAttributes
{
    /// The frequencies a channel can play at.
    static constexpr int LowestFrequency = 100;
    static constexpr int HighestFrequency = 100000;

    int frequency = 0;
    int volume = 100;
    int pan = 0;
};

/// Hears, on the main thread, that the engine's devices went away and that they are back.
class AudioDeviceListener
{
public:
    virtual ~AudioDeviceListener() = default;
    /// The output and the recording are gone: nothing plays and nothing records until restored.
    virtual void audioDeviceLost() = 0;
    /// The devices work again; a recording must be started anew.
    virtual void audioDeviceRestored() = 0;
};

/// The channel operations that playing a sound needs. All of them are called on the main thread.
class AudioStreams
{
public:
    virtual ~AudioStreams() = default;

    /// The code of the last failing call (AudioError); successful calls leave it as it was.
    virtual std::uint32_t errorCode() const = 0;

    /// A stopped stream of the whole file, or 0 when it cannot be opened or decoded.
    virtual AudioHandle createFileStream(const QString& path) = 0;
    virtual void freeStream(AudioHandle stream) = 0;
    /// Starts or resumes the stream; one that has ended does not start again.
    virtual bool play(AudioHandle stream) = 0;
    virtual std::optional<ChannelAttributes> attributes(AudioHandle channel) const = 0;
    virtual bool setAttributes(AudioHandle channel, const ChannelAttributes& attributes) = 0;
    /// Stops a stream or a recording.
    virtual bool stop(AudioHandle channel) = 0;
    /// True while the stream plays or the recording records; false once stopped or ended.
    virtual bool isActive(AudioHandle channel) const = 0;
};

/// The whole audio engine: the devices, the recording inputs and the recording, besides the
/// channel operations. Every operation is called on the main thread.
class AudioBackend : public AudioStreams
{
public:
    /// The rate the output device and the recording run at.
    static constexpr int SampleRate = 44100;

    /// The sound library's version, 0 when it cannot be initialised.
    virtual std::uint32_t version() = 0;
    /// The oldest library version this engine accepts.
    virtual std::uint32_t requiredVersion() const = 0;
    /// Main thread: the listener hears of devices that go away and come back, from the next
    /// event on; nullptr stops the calls. An engine that cannot tell never calls it.
    virtual void setDeviceListener(AudioDeviceListener* listener) { (void)listener; }
    /// The sound server's volumes of the default devices; nullptr for an engine without a
    /// sound server.
    virtual VolumeControl* volumeControl() { return nullptr; }

    /// Starts the recording device; fails when there is no capture device.
    virtual bool initRecording() = 0;
    /// Starts the output device; fails when there is no playback device.
    virtual bool initOutput(int sampleRate) = 0;
    /// Release the devices; harmless when they are not started.
    virtual void freeRecording() = 0;
    virtual void freeOutput() = 0;
    /// Halt and resume all output.
    virtual bool pauseOutput() = 0;
    virtual bool resumeOutput() = 0;

    /// The recording inputs, from index 0: the name, nothing past the last input.
    virtual std::optional<QString> inputName(int index) const = 0;
    /// The input's flag word (InputFlags), nothing for an index that names no input.
    virtual std::optional<std::uint32_t> inputFlags(int index) const = 0;
    /// InputFlags::Off, InputFlags::On, or InputFlags::Level | 0..100; false for an index that
    /// names no input, or a setting the input cannot take.
    virtual bool setInput(int index, std::uint32_t setting) = 0;

    /// Called once per recorded block with the channel and its level word: the block's peak,
    /// left channel in the low 16 bits, right in the high 16 bits, each 0..100.
    using LevelCallback = std::function<void(AudioHandle channel, std::uint32_t level)>;
    /// Records from the input that is switched on and reports each block's level on the
    /// engine's recording thread (one of its own, never the main thread) until the channel is
    /// stopped; none follows once stop() has returned. 0 when it cannot start.
    virtual AudioHandle startRecording(int sampleRate, LevelCallback onLevel) = 0;
};
