#pragma once

#include "ControlStates.h"
#include "alarm/AlarmContext.h"
#include "alarm/PinPrompt.h"
#include "alarm/Switches.h"
#include "app/gUtils.h"
#include "audio/RecordingInput.h"
#include "detect/MicrophoneDetector.h"
#include "settings/Tunables.h"

/// The main window's widgets as its logic uses them: what they show, never what they decide.
class MainView : public TunableControls,
                 public LampView,
                 public MicrophoneView,
                 public RecordingInputView,
                 public PinPrompt
{
public:
    /// The switch button's hint and picture for the switch's tag.
    virtual void drawSwitch(Switch s, int tag) = 0;
    /// The "Keyboard Detection" menu item's check mark.
    virtual void showKeyboardDetection(bool on) = 0;
    virtual void applyControlStates(const ControlStates& states) = 0;
    /// The system-volume panel's text and buttons for the kind of sound settings the system has.
    virtual void setUpSystemVolumePanel(WinVersionClass versionClass) = 0;
};
