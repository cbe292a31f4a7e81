#pragma once

/// The window's PIN prompt as the PIN gate drives it. The answer comes back through
/// PinGate::submit or PinGate::cancel.
class PinPrompt
{
public:
    virtual ~PinPrompt() = default;
    /// Shows the prompt, or keeps the shown one.
    virtual void openPinPrompt() = 0;
    virtual void closePinPrompt() = 0;
    /// The PIN typed was wrong: the prompt empties its field and says so.
    virtual void showWrongPin() = 0;
    /// The prompt refuses input for that many seconds; 0: it accepts input again.
    virtual void showPinWait(int seconds) = 0;
    /// The prompt is shown and has the keyboard: keys typed now are meant for it.
    virtual bool pinPromptHasFocus() const = 0;
};
