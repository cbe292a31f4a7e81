#pragma once

#include <QString>
#include <cstdint>
#include <optional>

/// Whether a recording input's name calls it a microphone: "mic", "microphone" or their plurals,
/// not as part of a longer word.
bool NamesMicrophone(const QString& name);

/// What the sound server tells about a source.
struct SourceTraits
{
    QString name;
    QString description;
    QString formFactor;                         // the device's form factor, empty when unknown
    std::optional<std::uint32_t> activePortType; // the server's port type, when it has ports
    bool monitor = false;                        // it records what a sink plays
};

/// A source is of microphone type when its active port or its form factor says so, else when
/// its name or description does. A monitor never is: it hears the speakers, not the room.
bool IsMicrophoneSource(const SourceTraits& source);
