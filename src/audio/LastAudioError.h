#pragma once

#include "AudioBackend.h"

/// The code of the last failing call, kept the way every engine keeps it: a failing call sets it
/// and a successful one leaves it as it was.
class LastAudioError
{
public:
    std::uint32_t code() const { return m_code; }
    /// Records the failure and gives false, so that a failing call can return it.
    bool fail(std::uint32_t code) const
    {
        m_code = code;
        return false;
    }

private:
    mutable std::uint32_t m_code = AudioError::None;
};
