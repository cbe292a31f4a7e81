// The main window's part in alarm control: it owns the logic objects, wires its actions and
// keys to them, lends them its lamps, and runs the first activation and the teardown.
#include "LedLamp.h"
#include "alarm/AlarmController.h"
#include "alarm/AlarmSimulation.h"
#include "alarm/TaskQueue.h"
#include "audio/AlarmPlayback.h"
#include "fmMain.h"
#include "platform/XdgAutostart.h"
#include "report/fmReport.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QProgressBar>

namespace {
QString lampName(Lamp lamp)
{
    switch (lamp) {
    case Lamp::shpLedActivationDelay:
        return QStringLiteral("shpLedActivationDelay");
    case Lamp::shpLedTriggerDelay:
        return QStringLiteral("shpLedTriggerDelay");
    case Lamp::shpLedSimulation:
        return QStringLiteral("shpLedSimulation");
    }
    return {};
}
} // namespace

void TfrmMain::createAlarmControl()
{
    m_autostart = std::make_unique<XdgAutostart>(QCoreApplication::applicationFilePath());
    m_taskQueue = std::make_unique<TaskQueue>(m_services.timers, m_services.random, *this,
                                              m_selectedSounds, *m_playback);
    const AlarmContext context{m_switches, *this, m_services.store, *this, m_services.timers};
    m_controller = std::make_unique<AlarmController>(context, *m_taskQueue, *m_playback,
                                                     *m_report, *m_autostart);
    m_simulation =
        std::make_unique<AlarmSimulation>(context, m_services.random, *m_controller);

    const auto onTrigger = [this](const char* action, auto handler) {
        connect(findChild<QAction*>(QString::fromLatin1(action)), &QAction::triggered, this,
                handler);
    };
    onTrigger("ActMicDetectToggle", [this] { ActMicDetectToggleExecute(); });
    onTrigger("ActMouDetectToggle", [this] { ActMouDetectToggleExecute(); });
    onTrigger("ActSimToggle", [this] { m_simulation->ActSimToggleExecute(); });
    onTrigger("ActActivateToggle", [this] { m_controller->ActActivateToggleExecute(); });
    onTrigger("ActViewReport", [this] { ActViewReportExecute(); });
    connect(this, &TfrmMain::keyReleased, m_controller.get(), &AlarmController::FormKeyUp);
}

std::uint32_t TfrmMain::lampColour(Lamp lamp) const
{
    return findChild<LedLamp*>(lampName(lamp))->colour();
}

void TfrmMain::setLampColour(Lamp lamp, std::uint32_t bgr)
{
    findChild<LedLamp*>(lampName(lamp))->setColour(bgr);
}

void TfrmMain::ResetTriggerCount()
{
    findChild<QProgressBar*>(QStringLiteral("ggDuration"))->setValue(0);
}

void TfrmMain::ActViewReportExecute()
{
    TfrmReport::ShowReport(m_services.messages, this);
}

void TfrmMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
    QMainWindow::changeEvent(event);
}

void TfrmMain::FormActivate()
{
    // Only the first activation starts anything; switching back to the window does not.
    if (m_firstActivationDone)
        return;
    m_firstActivationDone = true;
    if (m_switches.isOn(Switch::ActMicDetectToggle))
        emit microphoneResumed();
    if (m_switches.isOn(Switch::ActMouDetectToggle))
        emit mouseResumed();
    m_simulation->resume();
    m_controller->ResumeArmedPeriod();
}

void TfrmMain::FormClose()
{
    // Nothing is written here: a program closed while armed re-arms at its next start.
    for (Timer* timer : {&m_taskQueue->TimTask(), &m_controller->TimActivationDelay(),
                         &m_controller->TimTempMute()})
        timer->setEnabled(false);
    emit mouseSwitched(false);
    for (Timer* timer : {&m_simulation->TimSimulation(), &m_controller->TimTriggerDelay(),
                         &m_controller->TimActivationDelayFlash(),
                         &m_controller->TimTriggerDelayFlash(), &m_simulation->TimLedSim()})
        timer->setEnabled(false);
    // The detectors are stopped before anything they use goes away.
    StopRecording();
}
