#include "AlarmController.h"

#include "AutostartEntry.h"
#include "Intervals.h"
#include "Switches.h"
#include "TaskQueue.h"
#include "audio/AlarmPlayback.h"
#include "core/Colours.h"
#include "report/ReportLog.h"
#include "settings/Tunables.h"
#include "settings/gRegistry.h"

#include <Qt>

namespace {
constexpr int FlashMs = 500;
constexpr int TempMuteMs = 1500;

int delayInterval(int seconds)
{
    return BoundedInterval(qint64(seconds) * 1000, 1);
}
} // namespace

AlarmController::AlarmController(const AlarmContext& context, TaskQueue& queue,
                                 AlarmPlayback& playback, ReportLog& report,
                                 AutostartEntry& autostart, const QByteArray& pinHash,
                                 PinPrompt& pinPrompt, QObject* parent)
    : QObject(parent), m_context(context), m_queue(queue), m_playback(playback),
      m_report(report), m_autostart(autostart), m_timActivationDelay(context.timers, 0),
      m_timActivationDelayFlash(context.timers, FlashMs), m_timTriggerDelay(context.timers, 0),
      m_timTriggerDelayFlash(context.timers, FlashMs), m_timTempMute(context.timers, TempMuteMs),
      m_pinGate(pinHash, report, *this, context.timers, pinPrompt)
{
    connect(&m_timActivationDelay, &Timer::timeout, this,
            &AlarmController::TimActivationDelayTimer);
    connect(&m_timTriggerDelay, &Timer::timeout, this, &AlarmController::TimTriggerDelayTimer);
    connect(&m_timActivationDelayFlash, &Timer::timeout, this,
            [this] { flash(Lamp::shpLedActivationDelay); });
    connect(&m_timTriggerDelayFlash, &Timer::timeout, this,
            [this] { flash(Lamp::shpLedTriggerDelay); });
    connect(&m_timTempMute, &Timer::timeout, this, [this] { m_timTempMute.setEnabled(false); });
}

bool AlarmController::armed() const
{
    return m_context.switches.isOn(Switch::ActActivateToggle);
}

void AlarmController::ActActivateToggleExecute()
{
    if (armed()) {
        m_pinGate.pass([this] { disarm(); });
        return;
    }
    m_context.switches.setTag(Switch::ActActivateToggle, 1);
    m_context.view.DrawActivateBtnState();
    m_context.switches.writeTo(m_context.store, Switch::ActActivateToggle);
    m_autostart.write();
    // The report starts afresh with every armed period.
    m_report.clear();
    StartOrDelayStart();
    m_context.view.KeyState();
}

void AlarmController::disarm()
{
    // The prompt may outlive the armed period it was opened in.
    if (!armed())
        return;
    m_context.switches.setTag(Switch::ActActivateToggle, 0);
    m_context.view.DrawActivateBtnState();
    AlarmStopStart(false);
    m_context.view.KeyState();
}

void AlarmController::StartOrDelayStart()
{
    const int seconds = m_context.tunables.value(Tunable::spnActivationDelay);
    if (seconds == 0) {
        AlarmStopStart(true);
        return;
    }
    m_report.AddToReport(QStringLiteral("Waiting %1 second(s) before Activation").arg(seconds));
    m_timActivationDelay.setInterval(delayInterval(seconds));
    m_timActivationDelay.setEnabled(true);
    m_timActivationDelayFlash.setEnabled(true);
}

void AlarmController::TimActivationDelayTimer()
{
    stopDelay(m_timActivationDelay, m_timActivationDelayFlash, Lamp::shpLedActivationDelay);
    AlarmStopStart(true);
}

void AlarmController::AlarmStopStart(bool start)
{
    if (start) {
        m_queue.clear();
        m_report.deleteFile();
        const std::pair<Switch, const char*> enabledLines[] = {
            {Switch::ActMicDetectToggle, "Microphone Detection - Enabled"},
            {Switch::ActMouDetectToggle, "Mouse Detection - Enabled"},
            {Switch::ActSimToggle, "Simulation - Enabled"},
            {Switch::ActKeyDetectToggle, "Keyboard Detection - Enabled"},
        };
        for (const auto& [detector, line] : enabledLines) {
            if (m_context.switches.isOn(detector))
                m_report.AddToReport(QString::fromLatin1(line));
        }
        m_report.AddToReport(QStringLiteral("Alarm - Activated"));
        return;
    }
    m_context.view.ResetTriggerCount();
    m_playback.StopSounds();
    stopDelay(m_timActivationDelay, m_timActivationDelayFlash, Lamp::shpLedActivationDelay);
    stopDelay(m_timTriggerDelay, m_timTriggerDelayFlash, Lamp::shpLedTriggerDelay);
    m_queue.clear();
    m_report.AddToReport(QStringLiteral("Alarm - Stoped"));
    m_context.store.DeleteSetting(gRegistry::StateKey, Switches::valueName(Switch::ActActivateToggle));
    m_autostart.remove();
}

void AlarmController::ActivateAlarm(const QString& message)
{
    // Called for every block of a loud sound: a rejected trigger only looks.
    if (!armed() || m_timActivationDelay.isEnabled() || m_timTempMute.isEnabled() ||
        !m_queue.isEmpty() || m_playback.IsPlaying())
        return;
    m_timTempMute.setEnabled(true);
    m_report.AddToReport(message);
    emit alarmAccepted(message);
    const int seconds = m_context.tunables.value(Tunable::spnTriggerDelay);
    if (seconds <= 0) {
        m_queue.AddTask();
        return;
    }
    // A running trigger delay is neither restarted nor extended.
    if (!m_timTriggerDelay.isEnabled()) {
        m_timTriggerDelay.setInterval(delayInterval(seconds));
        m_timTriggerDelay.setEnabled(true);
        m_timTriggerDelayFlash.setEnabled(true);
    }
}

void AlarmController::TimTriggerDelayTimer()
{
    stopDelay(m_timTriggerDelay, m_timTriggerDelayFlash, Lamp::shpLedTriggerDelay);
    m_queue.AddTask();
}

void AlarmController::flash(Lamp lamp)
{
    const bool off = m_context.view.lampColour(lamp) == Colours::LampOff;
    m_context.view.setLampColour(lamp, off ? Colours::LampDelayFlash : Colours::LampOff);
}

void AlarmController::stopDelay(Timer& delay, Timer& flashTimer, Lamp lamp)
{
    delay.setEnabled(false);
    flashTimer.setEnabled(false);
    m_context.view.setLampColour(lamp, Colours::LampOff);
}

void AlarmController::stopAcceptanceTimers()
{
    m_timActivationDelay.setEnabled(false);
    m_timTempMute.setEnabled(false);
}

void AlarmController::stopDelayTimers()
{
    for (Timer* timer : {&m_timTriggerDelay, &m_timActivationDelayFlash, &m_timTriggerDelayFlash})
        timer->setEnabled(false);
}

void AlarmController::FormKeyUp(int key)
{
    if (key != Qt::Key_Escape || !armed())
        return;
    m_pinGate.pass([this] { disarm(); });
}

void AlarmController::ResumeArmedPeriod()
{
    const QString stored = m_context.store.ReadSetting(
        gRegistry::StateKey, Switches::valueName(Switch::ActActivateToggle));
    if (stored.isEmpty())
        return;
    StartOrDelayStart();
    m_context.view.KeyState();
}
