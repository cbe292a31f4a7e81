#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class ProgramLauncher;

/// Which side of the system's sound settings to open.
enum class SoundDevices { Playback, Recording };

struct ProgramCommand
{
    QString program;
    QStringList arguments;
    bool operator==(const ProgramCommand&) const = default;
};

/// The tool that shows the system's sound settings: pavucontrol on its output or input devices
/// tab when it is installed, otherwise the settings of the running desktop (desktops: the
/// XDG_CURRENT_DESKTOP list), the first of them whose tool is installed; none when nothing fits.
std::optional<ProgramCommand> SoundSettingsCommand(SoundDevices devices, const QString& desktops,
                                                   const ProgramLauncher& launcher);

/// Starts that tool; when there is none, or it fails to start, nothing happens.
void OpenSoundSettings(ProgramLauncher& launcher, SoundDevices devices, const QString& desktops);
