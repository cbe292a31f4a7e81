#pragma once

#include "AlarmContext.h"
#include "AlarmTrigger.h"
#include "PinGate.h"
#include "core/Timer.h"

#include <QObject>

class AlarmPlayback;
class AutostartEntry;
class PinPrompt;
class ReportLog;
class TaskQueue;

/// The armed switch and the states it goes through: the activation delay after arming, the
/// acceptance of triggers with the temporary mute, the trigger delay, and the hand-over of an
/// alarm to the task queue. Its state is the armed switch and its five timers.
class AlarmController : public QObject, public AlarmTrigger
{
    Q_OBJECT
public:
    AlarmController(const AlarmContext& context, TaskQueue& queue, AlarmPlayback& playback,
                    ReportLog& report, AutostartEntry& autostart, const QByteArray& pinHash,
                    PinPrompt& pinPrompt, QObject* parent = nullptr);

    bool armed() const;
    /// What every way out of an armed period passes: the disarm PIN, when one is set.
    PinGate& pinGate() { return m_pinGate; }
    /// The arm/disarm toggle of btnActivate; disarming passes the PIN gate.
    void ActActivateToggleExecute();
    /// Begins the armed period, through the activation delay when there is one.
    void StartOrDelayStart();
    /// true completes the activation, false disarms.
    void AlarmStopStart(bool start);
    void ActivateAlarm(const QString& message) override;
    /// A key released anywhere in the main window: Esc disarms, through the PIN gate.
    void FormKeyUp(int key);
    /// At the main window's first activation: the armed period running at the last close
    /// resumes, without storing the armed state again and keeping the report.
    void ResumeArmedPeriod();

signals:
    /// A trigger was accepted: the alarm is on its way.
    void alarmAccepted(const QString& message);

public:
    Timer& TimActivationDelay() { return m_timActivationDelay; }
    Timer& TimActivationDelayFlash() { return m_timActivationDelayFlash; }
    Timer& TimTriggerDelay() { return m_timTriggerDelay; }
    Timer& TimTriggerDelayFlash() { return m_timTriggerDelayFlash; }
    Timer& TimTempMute() { return m_timTempMute; }

    /// The window closes in two rounds: first the activation delay and the temporary mute, so
    /// that no trigger is accepted any more, then the trigger delay and the flash timers.
    void stopAcceptanceTimers();
    void stopDelayTimers();

private:
    void disarm();
    void TimActivationDelayTimer();
    void TimTriggerDelayTimer();
    void flash(Lamp lamp);
    void stopDelay(Timer& delay, Timer& flashTimer, Lamp lamp);

    AlarmContext m_context;
    TaskQueue& m_queue;
    AlarmPlayback& m_playback;
    ReportLog& m_report;
    AutostartEntry& m_autostart;
    Timer m_timActivationDelay;
    Timer m_timActivationDelayFlash;
    Timer m_timTriggerDelay;
    Timer m_timTriggerDelayFlash;
    Timer m_timTempMute;
    PinGate m_pinGate;
};
