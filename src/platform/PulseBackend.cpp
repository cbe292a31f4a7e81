#include "PulseBackend.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <pulse/pulseaudio.h>

namespace {
// Port types arrived with 14.0.
constexpr std::uint32_t RequiredPulseVersion = 0x0E0000;

std::uint32_t versionWord(const char* text)
{
    const QStringList parts = QString::fromLatin1(text).split(QLatin1Char('.'));
    std::uint32_t word = 0;
    for (int i = 0; i < 3; ++i)
        word = (word << 8) | std::uint32_t(std::clamp(i < parts.size() ? parts[i].toInt() : 0, 0, 255));
    return word;
}
} // namespace

PulseBackend::PulseBackend()
    : m_connection(std::make_unique<PulseConnection>(static_cast<StreamOwner&>(*this),
                                                   static_cast<AudioDeviceListener&>(*this))),
      m_playback(*m_connection, m_streams), m_capture(*m_connection)
{
}

PulseBackend::~PulseBackend()
{
    // The connection goes first: it ends the loop's thread and lets the streams go.
    m_connection.reset();
}

bool PulseBackend::connect(std::chrono::milliseconds timeout)
{
    return m_connection->connect(timeout);
}

bool PulseBackend::playbackOpen() const
{
    const PulseConnection::Lock lock(*m_connection);
    return m_playback.isOpen();
}

std::uint32_t PulseBackend::version()
{
    return versionWord(pa_get_library_version());
}

std::uint32_t PulseBackend::requiredVersion() const
{
    return RequiredPulseVersion;
}

bool PulseBackend::initRecording()
{
    if (m_recordingStarted)
        return true;
    const PulseConnection::Lock lock(*m_connection);
    if (!m_connection->context())
        return m_error.fail(AudioError::DeviceFailed);
    const PulseServerState& server = m_connection->state();
    m_inputs.clear();
    int defaultIndex = -1;
    for (const PulseSource& source : server.sources) {
        if (source.name == server.defaultSource)
            defaultIndex = int(m_inputs.size());
        m_inputs.push_back({source, source.name == server.defaultSource});
    }
    if (m_inputs.empty())
        return m_error.fail(AudioError::NoDevice);
    m_switches.reset(int(m_inputs.size()), defaultIndex);
    m_recordingStarted = true;
    return true;
}

bool PulseBackend::initOutput(int sampleRate)
{
    if (m_outputStarted)
        return true;
    const PulseConnection::Lock lock(*m_connection);
    if (!m_connection->context())
        return m_error.fail(AudioError::DeviceFailed);
    if (m_connection->state().defaultSink.empty())
        return m_error.fail(AudioError::NoDevice);
    m_streams.reset(sampleRate);
    m_outputRate = sampleRate;
    m_outputStarted = true;
    return true;
}

void PulseBackend::freeRecording()
{
    {
        const PulseConnection::Lock lock(*m_connection);
        m_capture.stop();
    }
    m_recordHandle = 0;
    m_inputs.clear();
    m_switches.reset(0, -1);
    m_recordingStarted = false;
}

void PulseBackend::freeOutput()
{
    if (!m_outputStarted)
        return;
    {
        // The stream goes first, so the engine is no longer mixed when it resets.
        const PulseConnection::Lock lock(*m_connection);
        m_playback.release();
        m_playback.setPaused(false);
    }
    m_streams.reset(AudioBackend::SampleRate);
    m_outputStarted = false;
}

bool PulseBackend::pauseOutput()
{
    if (!m_outputStarted)
        return m_error.fail(AudioError::NotStarted);
    const PulseConnection::Lock lock(*m_connection);
    m_playback.setPaused(true);
    return true;
}

bool PulseBackend::resumeOutput()
{
    if (!m_outputStarted)
        return m_error.fail(AudioError::NotStarted);
    const PulseConnection::Lock lock(*m_connection);
    m_playback.setPaused(false);
    return true;
}

const PulseBackend::Input* PulseBackend::input(int index) const
{
    if (m_switches.exists(index))
        return &m_inputs[std::size_t(index)];
    m_error.fail(m_recordingStarted ? AudioError::NoDevice : AudioError::NotStarted);
    return nullptr;
}

std::optional<QString> PulseBackend::inputName(int index) const
{
    const Input* named = input(index);
    return named ? std::optional(named->source.description) : std::nullopt;
}

std::optional<std::uint32_t> PulseBackend::inputFlags(int index) const
{
    const Input* named = input(index);
    if (!named)
        return std::nullopt;
    return (m_switches.isOn(index) ? 0 : InputFlags::Off) |
           (named->source.microphone ? InputFlags::TypeMicrophone : 0) |
           std::uint32_t(std::clamp(named->source.volume, 0, int(InputFlags::VolumeMask)));
}

bool PulseBackend::setInput(int index, std::uint32_t setting)
{
    if (!input(index))
        return false;
    if (InputSwitches::isLevel(setting))
        return setLevel(index, int(setting & InputFlags::VolumeMask));
    return m_switches.apply(index, setting, m_error);
}

bool PulseBackend::setLevel(int index, int percent)
{
    if (percent > 100)
        return m_error.fail(AudioError::BadValue);
    PulseSource& source = m_inputs[std::size_t(index)].source;
    const PulseConnection::Lock lock(*m_connection);
    pa_context* context = m_connection->context();
    if (!context)
        return m_error.fail(AudioError::DeviceFailed);
    pa_cvolume volume;
    pa_cvolume_set(&volume, unsigned(source.channels), pa_volume_t(PA_VOLUME_NORM * percent / 100));
    pa_operation* setting =
        pa_context_set_source_volume_by_name(context, source.name.c_str(), &volume, nullptr, nullptr);
    if (!setting)
        return m_error.fail(AudioError::NotAvailable);
    pa_operation_unref(setting);
    source.volume = percent;
    return true;
}

AudioHandle PulseBackend::startRecording(int sampleRate, LevelCallback onLevel)
{
    if (!m_recordingStarted) {
        m_error.fail(AudioError::NotStarted);
        return 0;
    }
    if (m_capture.isRunning()) {
        m_error.fail(AudioError::Busy);
        return 0;
    }
    const int recording = m_switches.recording();
    // The input that was the default stands for the default, wherever it moves.
    const std::string source = recording >= 0 && !m_inputs[std::size_t(recording)].isDefault
                                   ? m_inputs[std::size_t(recording)].source.name
                                   : std::string();
    const AudioHandle handle = m_recordHandles.next();
    std::uint32_t error = AudioError::None;
    const PulseConnection::Lock lock(*m_connection);
    if (!m_capture.start(source, sampleRate,
                         [handle, onLevel = std::move(onLevel)](std::uint32_t level) {
                             onLevel(handle, level);
                         },
                         error)) {
        m_error.fail(error);
        return 0;
    }
    m_recordHandle = handle;
    return handle;
}

bool PulseBackend::isRecording(AudioHandle channel) const
{
    return channel != 0 && channel == m_recordHandle;
}

bool PulseBackend::play(AudioHandle stream)
{
    // The voice is taken before the lock, so the playback cannot let its stream go now; the
    // start's decoding holds up no server event.
    if (!fromStreams(m_streams.play(stream)))
        return false;
    const PulseConnection::Lock lock(*m_connection);
    // Without a server nothing would ever end the sound: it does not start.
    if (m_playback.open(m_outputRate))
        return true;
    m_streams.stop(stream);
    return m_error.fail(AudioError::DeviceFailed);
}

bool PulseBackend::stop(AudioHandle channel)
{
    if (!isRecording(channel))
        return fromStreams(m_streams.stop(channel));
    const PulseConnection::Lock lock(*m_connection);
    m_capture.stop();
    m_recordHandle = 0;
    return true;
}

bool PulseBackend::isActive(AudioHandle channel) const
{
    if (isRecording(channel))
        return m_capture.isRunning();
    return m_streams.isActive(channel);
}

void PulseBackend::watchSpeakers(std::function<void(const VolumeState&)> onChange)
{
    m_connection->watchSpeakers(std::move(onChange));
}

void PulseBackend::watchMicrophone(std::function<void(const VolumeState&)> onChange)
{
    m_connection->watchMicrophone(std::move(onChange));
}

void PulseBackend::setSpeakers(const VolumeState& state)
{
    m_connection->setSpeakers(state);
}

void PulseBackend::connectionDropped()
{
    m_playback.release();
    m_capture.stop();
}

void PulseBackend::defaultsChanged(const PulseServerState& state)
{
    m_playback.followDefault(state.defaultSink);
    m_capture.followDefault(state.defaultSource);
}

void PulseBackend::audioDeviceLost()
{
    // The sounds that were playing will never end by themselves now.
    m_streams.stopAll();
    if (m_listener)
        m_listener->audioDeviceLost();
}

void PulseBackend::audioDeviceRestored()
{
    if (m_listener)
        m_listener->audioDeviceRestored();
}
