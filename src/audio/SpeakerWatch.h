#pragma once

#include <QString>
#include <functional>

/// The speakers as the sound server sees them: its default sink's name, volume and mute.
struct SpeakerState
{
    QString sink;
    int volume = 0; // percent of the sink's normal volume, averaged over its channels
    bool muted = false;

    bool operator==(const SpeakerState&) const = default;
};

/// Tells the state of the speakers, now and whenever it changes.
class SpeakerWatch
{
public:
    virtual ~SpeakerWatch() = default;
    /// Main thread: onChange is called on the main thread with the state as soon as it is read,
    /// then after every change of the default sink, its volume or its mute. A second call
    /// replaces the first callback.
    virtual void watchSpeakers(std::function<void(const SpeakerState&)> onChange) = 0;
};
