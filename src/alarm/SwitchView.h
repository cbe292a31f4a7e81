#pragma once

#include "Switches.h"
#include "core/ControlStateRefresh.h"

/// The switch buttons as the switches' handlers see them: each handler redraws its own button,
/// then the control states.
class SwitchView : public ControlStateRefresh
{
public:
    /// Each sets one switch button's hint and picture from its switch.
    virtual void DrawMicDetectBtnState() = 0;
    virtual void DrawMouDetectBtnState() = 0;
    virtual void DrawSimBtnState() = 0;
    virtual void DrawActivateBtnState() = 0;
    /// The "Keyboard Detection" menu item's check mark.
    virtual void DrawKeyDetectBtnState() = 0;

    /// The Draw...BtnState of that switch.
    void drawSwitch(Switch s);
};

/// How a handler of the microphone, mouse, keyboard or simulation switch begins: the switch turns over,
/// its button is redrawn and the control states are applied. Gives the new state; the handler
/// then starts or stops its work and stores the switch.
bool TurnOverSwitch(Switches& switches, Switch s, SwitchView& view);
