#pragma once

#include "audio/VolumeControl.h"

#include <optional>
#include <vector>

/// A sound server's default sink and source. Like the real one it answers later: what
/// setSpeakers asks for waits until serve(), which applies the volume and the mute one after
/// the other and tells each step, as the server's events do.
class FakeVolumeControl : public VolumeControl
{
public:
    VolumeState speakers{QStringLiteral("sink"), 40, true};
    VolumeState microphone{QStringLiteral("mic"), 80, false};
    std::vector<VolumeState> asked; // every setSpeakers, in order

    void watchSpeakers(std::function<void(const VolumeState&)> onChange) override
    {
        m_onSpeakers = std::move(onChange);
        tellSpeakers();
    }
    void watchMicrophone(std::function<void(const VolumeState&)> onChange) override
    {
        m_onMicrophone = std::move(onChange);
        if (m_onMicrophone)
            m_onMicrophone(microphone);
    }
    void setSpeakers(const VolumeState& state) override
    {
        asked.push_back(state);
        m_pending = state;
    }

    /// Applies what was asked until nothing more is; false when the asking never settles.
    bool serve()
    {
        for (int round = 0; round < 10; ++round) {
            const auto wanted = std::exchange(m_pending, std::nullopt);
            if (!wanted)
                return true;
            if (wanted->device != speakers.device)
                continue;
            if (speakers.volume != wanted->volume) {
                speakers.volume = wanted->volume;
                tellSpeakers();
            }
            if (speakers.muted != wanted->muted) {
                speakers.muted = wanted->muted;
                tellSpeakers();
            }
        }
        return false;
    }

    /// Someone else sets the speakers or the microphone.
    void changeSpeakers(const VolumeState& state)
    {
        speakers = state;
        tellSpeakers();
    }
    void changeMicrophone(const VolumeState& state)
    {
        microphone = state;
        if (m_onMicrophone)
            m_onMicrophone(microphone);
    }

    bool watchingSpeakers() const { return bool(m_onSpeakers); }
    bool watchingMicrophone() const { return bool(m_onMicrophone); }

private:
    void tellSpeakers()
    {
        if (m_onSpeakers)
            m_onSpeakers(speakers);
    }

    std::function<void(const VolumeState&)> m_onSpeakers;
    std::function<void(const VolumeState&)> m_onMicrophone;
    std::optional<VolumeState> m_pending;
};
