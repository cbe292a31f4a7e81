#include "MouseDetector.h"

#include "alarm/SwitchView.h"

MouseDetector::MouseDetector(Switches& switches, SwitchView& view, SettingsStore& store,
                             QObject* parent)
    : QObject(parent), m_switches(switches), m_view(view), m_store(store)
{
}

void MouseDetector::ActMouDetectToggleExecute()
{
    if (TurnOverSwitch(m_switches, Switch::ActMouDetectToggle, m_view))
        StartMouseHook();
    else
        StopMouseHook();
    m_switches.writeTo(m_store, Switch::ActMouDetectToggle);
}

void MouseDetector::resume()
{
    if (m_switches.isOn(Switch::ActMouDetectToggle))
        StartMouseHook();
}

void MouseDetector::StartMouseHook()
{
    emit mouseHookChanged(true);
}

void MouseDetector::StopMouseHook()
{
    emit mouseHookChanged(false);
}
