#pragma once

/// Which controls the user may use, derived from the alarm state and the sound list.
struct ControlStates
{
    bool detectorSwitches; // ActMicDetectToggle, ActMouDetectToggle, ActSimToggle, ActKeyDetectToggle
    bool viewReport;
    bool activateToggle;
    bool soundList;
    bool checkCommands; // check all, uncheck all, check inverse
    bool addSound;
    bool removeSound;
    bool speakerTest; // btnFrontLeft, btnFrontCenter, btnFrontRight
    bool testStop;
    bool protection; // the protection options
};

struct ControlStateInputs
{
    bool armed;
    bool anyDetectorOn;   // microphone, mouse, keyboard or simulation switch on
    int selectedSounds;   // names in SelectedSounds
    bool listed;          // the sound list has an item
    bool itemSelected;    // an item of the sound list is the current one
};

ControlStates DeriveControlStates(const ControlStateInputs& in);
