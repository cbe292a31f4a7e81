#pragma once

#include "audio/AudioBackend.h"

/// Recording handles take the high half of the handle range and streams the low half, so a
/// recording is never mistaken for a stream. They count up and wrap within their half.
class RecordHandles
{
public:
    AudioHandle next()
    {
        m_last = m_last == Last || m_last == 0 ? First : m_last + 1;
        return m_last;
    }

private:
    static constexpr AudioHandle First = 0x80000000;
    static constexpr AudioHandle Last = 0xFFFFFFFF;
    AudioHandle m_last = 0;
};
