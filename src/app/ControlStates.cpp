#include "ControlStates.h"

ControlStates DeriveControlStates(const ControlStateInputs& in)
{
    const bool disarmed = !in.armed;
    const bool itemAtHand = disarmed && in.listed && in.itemSelected;
    return ControlStates{
        .detectorSwitches = disarmed,
        .viewReport = disarmed,
        // The armed state is not looked at: an armed system with nothing to sound or no
        // detector can only be stopped with Esc.
        .activateToggle = in.anyDetectorOn && in.selectedSounds > 0,
        .soundList = disarmed,
        .checkCommands = in.listed,
        .addSound = disarmed,
        .removeSound = itemAtHand,
        .speakerTest = itemAtHand,
        .testStop = disarmed,
        .protection = disarmed,
    };
}
