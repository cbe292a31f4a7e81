#include "MouseDetector.h"

#include "alarm/AlarmTrigger.h"
#include "alarm/SwitchView.h"
#include "report/ReportLog.h"
#include "settings/Tunables.h"

#include <cstdlib>

MouseDetector::MouseDetector(const Collaborators& with)
    : m_with(with), m_lamp(with.lamps, Lamp::shpLedMouDetection, with.timers)
{
}

MouseDetector::~MouseDetector()
{
    // No event may reach a destroyed detector.
    m_with.pointer.stop();
}

void MouseDetector::ActMouDetectToggleExecute()
{
    if (TurnOverSwitch(m_with.switches, Switch::ActMouDetectToggle, m_with.view)) {
        takePosition();
        StartMouseHook();
    } else {
        StopMouseHook();
    }
    m_with.switches.writeTo(m_with.store, Switch::ActMouDetectToggle);
}

void MouseDetector::resume()
{
    if (!m_with.switches.isOn(Switch::ActMouDetectToggle))
        return;
    takePosition();
    StartMouseHook();
}

void MouseDetector::StartMouseHook()
{
    if (m_hookActive)
        return;
    // A failed start is silent: the switch stays on and the detector hears nothing.
    m_hookActive = m_with.pointer.start(*this);
    if (m_hookActive && m_with.pointer.seesOnlyX11Windows())
        m_with.report.AddToReport(
            QStringLiteral("Mouse detection sees only X11 windows in a Wayland session"));
}

void MouseDetector::StopMouseHook()
{
    m_hookActive = false;
    m_with.pointer.stop();
}

void MouseDetector::subscriptionCancelled()
{
    if (m_hookActive)
        m_with.pointer.start(*this);
}

void MouseDetector::MouseHookProc(PointerEvent event)
{
    switch (event) {
    case PointerEvent::LeftPress:
    case PointerEvent::MiddlePress:
    case PointerEvent::RightPress:
    case PointerEvent::Wheel:
        MouseDetected();
        return;
    case PointerEvent::Move:
        break;
    case PointerEvent::Other:
        return;
    }
    const std::optional<QPoint> at = m_with.pointer.cursorPos();
    if (!at)
        return;
    const int t = 100 - m_with.tunables.value(Tunable::trkMouseSensivity);
    if (std::abs(at->x() - m_last.x()) > t || std::abs(at->y() - m_last.y()) > t)
        MouseDetected();
    takePosition();
}

void MouseDetector::MouseDetected()
{
    m_with.alarm.ActivateAlarm(QStringLiteral("Mouse detected"));
    m_lamp.light();
}

void MouseDetector::takePosition()
{
    if (const std::optional<QPoint> at = m_with.pointer.cursorPos())
        m_last = *at;
}
