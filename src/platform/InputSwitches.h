#pragma once

#include "audio/AudioBackend.h"
#include "audio/LastAudioError.h"

#include <vector>

/// The on/off switches of a recording device's inputs as setInput() sets them: any number may
/// be on, and the one switched on last records while it stays on.
class InputSwitches
{
public:
    /// count inputs, of which only `on` (-1 for none) is on.
    void reset(int count, int on)
    {
        m_on.assign(std::size_t(count), false);
        m_lastSwitchedOn = on;
        if (on >= 0)
            m_on[std::size_t(on)] = true;
    }
    int count() const { return int(m_on.size()); }
    bool exists(int index) const { return index >= 0 && index < count(); }
    bool isOn(int index) const { return m_on[std::size_t(index)]; }

    /// The input switched on last while it stays on, else -1.
    int recording() const
    {
        return m_lastSwitchedOn >= 0 && isOn(m_lastSwitchedOn) ? m_lastSwitchedOn : -1;
    }

    /// Whether a setInput() setting is a level, which the engine applies itself.
    static bool isLevel(std::uint32_t setting)
    {
        return (setting & ~InputFlags::VolumeMask) == InputFlags::Level;
    }

    /// Applies InputFlags::Off or InputFlags::On to an existing input; anything else fails
    /// with BadValue.
    bool apply(int index, std::uint32_t setting, const LastAudioError& error)
    {
        if (setting == InputFlags::Off) {
            m_on[std::size_t(index)] = false;
        } else if (setting == InputFlags::On) {
            m_on[std::size_t(index)] = true;
            m_lastSwitchedOn = index;
        } else {
            return error.fail(AudioError::BadValue);
        }
        return true;
    }

private:
    std::vector<bool> m_on;
    int m_lastSwitchedOn = -1;
};
