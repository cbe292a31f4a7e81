#pragma once

#include "KeyEventSource.h"

#include <functional>

class AlarmTrigger;
class SettingsStore;
class Switches;
class SwitchView;

/// Watches the keyboard of the whole desktop while its switch is on, and asks for the alarm on
/// every key press, except those typed into the program's own PIN prompt, so that the owner can
/// disarm during the trigger delay. Main thread only.
class KeyboardDetector : public KeyListener
{
public:
    struct Collaborators
    {
        AlarmTrigger& alarm;
        KeyEventSource& keys;
        Switches& switches;
        SwitchView& view;
        SettingsStore& store;
        /// True while the PIN prompt takes the keys.
        std::function<bool()> promptTakesKeys;
    };
    explicit KeyboardDetector(Collaborators with);
    ~KeyboardDetector() override;

    /// The on/off toggle of the "Keyboard Detection" menu item; the switch's value is stored.
    void ActKeyDetectToggleExecute();
    /// At the main window's first activation: a switched-on detector watches again.
    void resume();
    /// The window closes: no key is heard any more.
    void stop();
    bool watching() const { return m_watching; }

    void KeyHookProc() override;
    /// A cancelled subscription is made again while the detector is meant to watch.
    void keySubscriptionCancelled() override;

private:
    void start();

    Collaborators m_with;
    bool m_watching = false;
};
