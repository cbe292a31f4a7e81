#pragma once

/// Halts and resumes all audio output at once (the removal of a sound holds it while it asks).
class OutputPause
{
public:
    virtual ~OutputPause() = default;
    virtual void pauseOutput() = 0;
    virtual void resumeOutput() = 0;
};
