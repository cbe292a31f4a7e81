#pragma once

#include "audio/VolumeControl.h"
#include "core/Timer.h"

#include <QObject>
#include <optional>

class AlarmPlayback;
class ReportLog;
class TaskQueue;

/// Keeps the speakers on while the alarm sounds: from the first queued sound until the queue is
/// empty and the last sound has ended, the default sink is unmuted and held at the chosen
/// volume. A change by anyone else is undone as soon as the server tells of it, and reported
/// once per alarm; afterwards the sink gets back the volume and mute it had before. Main thread.
class SpeakerGuard : public QObject
{
    Q_OBJECT
public:
    struct Collaborators
    {
        TimerEngine& timers;
        VolumeControl* volume; ///< nullptr: no sound server, and nothing can be kept on
        ReportLog& report;
        const TaskQueue& queue;
        const AlarmPlayback& playback;
    };
    SpeakerGuard(Collaborators with, int volumePercent, QObject* parent = nullptr);
    ~SpeakerGuard() override;

    /// The sounding ended, or the window closes: a held sink gets its own state back.
    void release();
    bool engaged() const { return m_engaged; }

    /// How often the end of the sounding is looked for.
    static constexpr int EndPollMs = 100;

private:
    void engage();
    void speakersChanged(const VolumeState& state);
    void endPoll();
    VolumeState wanted() const;

    Collaborators m_with;
    const int m_volume;
    Timer m_endPoll;
    std::optional<VolumeState> m_current; ///< as the server told last
    std::optional<VolumeState> m_before;  ///< the sink's own state, while engaged
    bool m_engaged = false;
    bool m_settled = false; ///< the server showed the wanted state since it was last set
    bool m_toldMuted = false;
    bool m_toldLowered = false;
    bool m_toldNoServer = false;
};
