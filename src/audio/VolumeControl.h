#pragma once

#include <QString>
#include <functional>

/// A device as the sound server sets it: its name, volume and mute.
struct VolumeState
{
    QString device;
    int volume = 0; // percent of the device's normal volume, averaged over its channels
    bool muted = false;

    bool operator==(const VolumeState&) const = default;
};

/// The volume and mute of the default speakers and microphone: told now and at every change,
/// and the speakers' set.
class VolumeControl
{
public:
    virtual ~VolumeControl() = default;
    /// Main thread: onChange is called on the main thread with the state as soon as it is read,
    /// then after every change of the default sink, its volume or its mute. A second call
    /// replaces the first callback.
    virtual void watchSpeakers(std::function<void(const VolumeState&)> onChange) = 0;
    /// Main thread: the same for the default source.
    virtual void watchMicrophone(std::function<void(const VolumeState&)> onChange) = 0;
    /// Main thread: sets the named sink's volume, keeping the balance of its channels, and its
    /// mute. Nothing happens while the server is away or when it has no such sink.
    virtual void setSpeakers(const VolumeState& state) = 0;
};
