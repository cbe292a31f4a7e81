#pragma once

/// Re-applies the window's enabling rules; the sound list and its selection call it after they
/// changed.
class ControlStateRefresh
{
public:
    virtual ~ControlStateRefresh() = default;
    virtual void KeyState() = 0;
};
