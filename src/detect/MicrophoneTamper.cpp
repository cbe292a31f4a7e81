#include "MicrophoneTamper.h"

#include "alarm/AlarmTrigger.h"
#include "alarm/Switches.h"

namespace {
bool silenced(const VolumeState& state)
{
    return state.muted || state.volume == 0;
}
} // namespace

MicrophoneTamper::MicrophoneTamper(AlarmTrigger& alarm, const Switches& switches,
                                   VolumeControl& volume)
    : m_alarm(alarm), m_switches(switches), m_volume(volume)
{
    m_volume.watchMicrophone([this](const VolumeState& state) { microphoneChanged(state); });
}

MicrophoneTamper::~MicrophoneTamper()
{
    m_volume.watchMicrophone(nullptr);
}

void MicrophoneTamper::microphoneChanged(const VolumeState& state)
{
    // Only the act counts: a microphone silenced before the program knew it is nobody's doing.
    const bool silencedNow = m_last && !silenced(*m_last) && silenced(state);
    m_last = state;
    // The alarm itself ignores the trigger while it is not armed and listening.
    if (silencedNow && m_switches.isOn(Switch::ActMicDetectToggle))
        m_alarm.ActivateAlarm(QStringLiteral("Microphone muted"));
}
