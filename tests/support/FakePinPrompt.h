#pragma once

#include "alarm/PinPrompt.h"

/// The PIN prompt as the gate drives it, remembering what it was told to show.
class FakePinPrompt : public PinPrompt
{
public:
    void openPinPrompt() override { shown = true; }
    void closePinPrompt() override { shown = false; }
    void showWrongPin() override { ++wrongPinsShown; }
    void showPinWait(int seconds) override { waitSeconds = seconds; }
    bool pinPromptHasFocus() const override { return shown; }

    bool shown = false;
    int wrongPinsShown = 0;
    int waitSeconds = 0; // how long it refuses input; 0: it accepts input
};
