#include "AudioDevices.h"

#include "AudioBackend.h"
#include "core/MessageBoxes.h"

#include <algorithm>
#include <vector>

AudioDevices::AudioDevices(AudioBackend& audio, MessageBoxes& messages)
    : m_audio(audio), m_messages(messages)
{
}

QString AudioDevices::withErrorCode(const char* text) const
{
    return QStringLiteral("%1 (%2)").arg(QLatin1String(text)).arg(m_audio.errorCode());
}

bool AudioDevices::start()
{
    m_audio.freeOutput();
    m_audio.freeRecording();
    if (m_audio.version() < m_audio.requiredVersion()) {
        m_messages.error(QStringLiteral("DLL was not loaded!"));
        return false;
    }
    if (m_audio.initRecording() && m_audio.initOutput(AudioBackend::SampleRate))
        return true;
    m_audio.freeRecording();
    m_audio.freeOutput();
    // The release calls never fail, so the code is still the failing start's.
    m_messages.error(withErrorCode("Cannot start recording device!"));
    return false;
}

void AudioDevices::release()
{
    m_audio.freeRecording();
    m_audio.freeOutput();
}

AudioDevices::InputChoice AudioDevices::chooseInput()
{
    InputChoice choice;
    if (!chooseByRules(choice))
        m_messages.error(withErrorCode("Cannot get input device!"));
    if (choice.selected < 0)
        m_messages.message(QStringLiteral("Microphone not found!"));
    return choice;
}

bool AudioDevices::chooseByRules(InputChoice& choice) const
{
    std::vector<std::uint32_t> flags;
    for (int i = 0;; ++i) {
        const std::optional<QString> name = m_audio.inputName(i);
        if (!name)
            break;
        choice.names << *name;
        const std::optional<std::uint32_t> word = m_audio.inputFlags(i);
        if (!word)
            return false;
        flags.push_back(*word);
        if (!(*word & InputFlags::Off))
            choice.selected = i;
    }
    for (int i = 0; choice.selected < 0 && i < int(flags.size()); ++i) {
        if ((flags[i] & InputFlags::TypeMask) == InputFlags::TypeMicrophone)
            choice.selected = i;
    }
    for (int i = 0; choice.selected < 0 && i < int(flags.size()); ++i) {
        if (choice.names[i].toUpper() == QLatin1String("MICROPHONE"))
            choice.selected = i;
    }
    return true;
}

std::optional<int> AudioDevices::applyInput(int selected)
{
    for (int i = 0; m_audio.setInput(i, InputFlags::Off); ++i) {
    }
    m_audio.setInput(selected, InputFlags::On);
    // No input selected is not a failure: there is simply nothing to read.
    if (selected < 0)
        return std::nullopt;
    const std::optional<std::uint32_t> word = m_audio.inputFlags(selected);
    if (!word) {
        m_messages.error(withErrorCode("Cannot set input device!"));
        return std::nullopt;
    }
    return std::clamp(int(*word & InputFlags::VolumeMask), 0, 100);
}

void AudioDevices::setInputLevel(int selected, int position)
{
    m_audio.setInput(selected, InputFlags::Level | std::uint32_t(std::clamp(position, 0, 100)));
}

void AudioDevices::pauseOutput()
{
    m_audio.pauseOutput();
}

void AudioDevices::resumeOutput()
{
    m_audio.resumeOutput();
}
