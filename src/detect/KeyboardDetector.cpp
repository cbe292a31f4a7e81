#include "KeyboardDetector.h"

#include "alarm/AlarmTrigger.h"
#include "alarm/SwitchView.h"

KeyboardDetector::KeyboardDetector(Collaborators with) : m_with(std::move(with)) {}

KeyboardDetector::~KeyboardDetector()
{
    // No event may reach a destroyed detector.
    m_with.keys.stopKeys();
}

void KeyboardDetector::ActKeyDetectToggleExecute()
{
    if (TurnOverSwitch(m_with.switches, Switch::ActKeyDetectToggle, m_with.view))
        start();
    else
        stop();
    m_with.switches.writeTo(m_with.store, Switch::ActKeyDetectToggle);
}

void KeyboardDetector::resume()
{
    if (m_with.switches.isOn(Switch::ActKeyDetectToggle))
        start();
}

void KeyboardDetector::start()
{
    // A failed start is silent, as the mouse's is: the switch stays on and nothing is heard.
    if (!m_watching)
        m_watching = m_with.keys.startKeys(*this);
}

void KeyboardDetector::stop()
{
    m_watching = false;
    m_with.keys.stopKeys();
}

void KeyboardDetector::KeyHookProc()
{
    if (m_with.promptTakesKeys && m_with.promptTakesKeys())
        return;
    m_with.alarm.ActivateAlarm(QStringLiteral("Keyboard detected"));
}

void KeyboardDetector::keySubscriptionCancelled()
{
    if (m_watching)
        m_watching = m_with.keys.startKeys(*this);
}
