#pragma once

#include "audio/VolumeControl.h"

#include <optional>

class AlarmTrigger;
class Switches;

/// While the microphone switch is on, the default source being muted or turned down to 0 asks
/// for the alarm: someone is silencing what listens for them. Main thread.
class MicrophoneTamper
{
public:
    MicrophoneTamper(AlarmTrigger& alarm, const Switches& switches, VolumeControl& volume);
    ~MicrophoneTamper();
    MicrophoneTamper(const MicrophoneTamper&) = delete;
    MicrophoneTamper& operator=(const MicrophoneTamper&) = delete;

private:
    void microphoneChanged(const VolumeState& state);

    AlarmTrigger& m_alarm;
    const Switches& m_switches;
    VolumeControl& m_volume;
    std::optional<VolumeState> m_last;
};
