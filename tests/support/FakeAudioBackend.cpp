#include "FakeAudioBackend.h"

#include <QFile>
#include <algorithm>

int FakeAudioBackend::activeRecordings() const
{
    return int(std::count_if(m_recordings.begin(), m_recordings.end(),
                             [](const auto& r) { return r.second.active; }));
}

void FakeAudioBackend::report(AudioHandle recording, std::uint32_t level)
{
    const auto it = m_recordings.find(recording);
    if (it != m_recordings.end() && it->second.active)
        it->second.callback(recording, level);
}

AudioBackend::LevelCallback FakeAudioBackend::callbackOf(AudioHandle recording) const
{
    return m_recordings.at(recording).callback;
}

std::uint32_t FakeAudioBackend::version()
{
    calls << QStringLiteral("version");
    return libraryVersion;
}

bool FakeAudioBackend::initRecording()
{
    calls << QStringLiteral("initRecording");
    if (recordingInitError != AudioError::None)
        return m_error.fail(recordingInitError);
    recordingStarted = true;
    return true;
}

bool FakeAudioBackend::initOutput(int sampleRate)
{
    calls << QStringLiteral("initOutput %1").arg(sampleRate);
    if (outputInitError != AudioError::None)
        return m_error.fail(outputInitError);
    outputStarted = true;
    return true;
}

void FakeAudioBackend::freeRecording()
{
    calls << QStringLiteral("freeRecording");
    for (auto& [handle, recording] : m_recordings)
        recording.active = false;
    recordingStarted = false;
}

void FakeAudioBackend::freeOutput()
{
    calls << QStringLiteral("freeOutput");
    for (auto& [handle, stream] : m_streams)
        stream.freed = true;
    outputStarted = false;
}

bool FakeAudioBackend::pauseOutput()
{
    calls << QStringLiteral("pauseOutput");
    outputPaused = true;
    return true;
}

bool FakeAudioBackend::resumeOutput()
{
    calls << QStringLiteral("resumeOutput");
    outputPaused = false;
    return true;
}

std::optional<QString> FakeAudioBackend::inputName(int index) const
{
    if (index < 0 || index >= int(inputs.size())) {
        m_error.fail(AudioError::NoDevice);
        return std::nullopt;
    }
    return inputs[std::size_t(index)].name;
}

std::optional<std::uint32_t> FakeAudioBackend::inputFlags(int index) const
{
    if (index < 0 || index >= int(inputs.size()) || !inputs[std::size_t(index)].readable) {
        m_error.fail(AudioError::NoDevice);
        return std::nullopt;
    }
    return inputs[std::size_t(index)].flags;
}

bool FakeAudioBackend::setInput(int index, std::uint32_t setting)
{
    calls << QStringLiteral("setInput %1 0x%2").arg(index).arg(setting, 0, 16);
    if (index < 0 || index >= int(inputs.size()))
        return m_error.fail(AudioError::NoDevice);
    std::uint32_t& flags = inputs[std::size_t(index)].flags;
    if (setting == InputFlags::Off)
        flags |= InputFlags::Off;
    else if (setting == InputFlags::On)
        flags &= ~InputFlags::Off;
    else if ((setting & ~InputFlags::VolumeMask) == InputFlags::Level && levelsSettable)
        flags = (flags & ~InputFlags::VolumeMask) | (setting & InputFlags::VolumeMask);
    else
        return m_error.fail(AudioError::NotAvailable);
    return true;
}

AudioHandle FakeAudioBackend::startRecording(int sampleRate, LevelCallback onLevel)
{
    calls << QStringLiteral("startRecording %1").arg(sampleRate);
    if (!recordingStarted)
        return m_error.fail(AudioError::NotStarted);
    if (recordingStartError != AudioError::None)
        return m_error.fail(recordingStartError);
    m_recordings[++m_lastHandle] = Recording{std::move(onLevel)};
    return m_lastHandle;
}

FakeAudioBackend::Stream* FakeAudioBackend::liveStream(AudioHandle handle)
{
    const auto it = m_streams.find(handle);
    return it == m_streams.end() || it->second.freed ? nullptr : &it->second;
}

AudioHandle FakeAudioBackend::createFileStream(const QString& path)
{
    calls << QStringLiteral("create %1").arg(path);
    if (!outputStarted)
        return m_error.fail(AudioError::NotStarted);
    if (!QFile::exists(path))
        return m_error.fail(AudioError::FileOpen);
    const auto rate = fileRates.find(path);
    m_streams[++m_lastHandle] =
        Stream{path, ChannelAttributes{rate == fileRates.end() ? 44100 : rate->second, 100, 0}};
    return m_lastHandle;
}

void FakeAudioBackend::freeStream(AudioHandle handle)
{
    calls << QStringLiteral("free %1").arg(handle);
    if (Stream* stream = liveStream(handle))
        stream->freed = true;
}

bool FakeAudioBackend::play(AudioHandle handle)
{
    calls << QStringLiteral("play %1").arg(handle);
    Stream* stream = liveStream(handle);
    if (!stream)
        return m_error.fail(AudioError::BadHandle);
    stream->startedAtMs = m_clock.elapsedMs();
    stream->stopped = false;
    return true;
}

std::optional<ChannelAttributes> FakeAudioBackend::attributes(AudioHandle handle) const
{
    const auto it = m_streams.find(handle);
    if (it == m_streams.end() || it->second.freed) {
        m_error.fail(AudioError::BadHandle);
        return std::nullopt;
    }
    return it->second.attributes;
}

bool FakeAudioBackend::setAttributes(AudioHandle handle, const ChannelAttributes& attributes)
{
    calls << QStringLiteral("set %1 %2 %3 %4")
                 .arg(handle)
                 .arg(attributes.frequency)
                 .arg(attributes.volume)
                 .arg(attributes.pan);
    Stream* stream = liveStream(handle);
    if (!stream)
        return m_error.fail(AudioError::BadHandle);
    stream->attributes = attributes;
    stream->attributesSet = true;
    return true;
}

bool FakeAudioBackend::stop(AudioHandle handle)
{
    calls << QStringLiteral("stop %1").arg(handle);
    if (const auto it = m_recordings.find(handle); it != m_recordings.end()) {
        it->second.active = false;
        return true;
    }
    Stream* stream = liveStream(handle);
    if (!stream)
        return m_error.fail(AudioError::BadHandle);
    stream->stopped = true;
    return true;
}

bool FakeAudioBackend::isActive(AudioHandle handle) const
{
    if (const auto it = m_recordings.find(handle); it != m_recordings.end())
        return it->second.active;
    const auto it = m_streams.find(handle);
    if (it == m_streams.end())
        return false;
    const Stream& s = it->second;
    return !s.freed && !s.stopped && s.startedAtMs >= 0 &&
           m_clock.elapsedMs() < s.startedAtMs + soundMs;
}
