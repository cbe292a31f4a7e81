#include "SoundSettings.h"

#include "core/ProgramLauncher.h"

namespace {
struct DesktopTool
{
    const char* desktop; // as XDG_CURRENT_DESKTOP names it
    ProgramCommand playback;
    ProgramCommand recording;
};

const ProgramCommand GnomeSound{QStringLiteral("gnome-control-center"), {QStringLiteral("sound")}};
const ProgramCommand PlasmaSound{QStringLiteral("systemsettings"), {QStringLiteral("kcm_pulseaudio")}};
const ProgramCommand CinnamonSound{QStringLiteral("cinnamon-settings"), {QStringLiteral("sound")}};
const ProgramCommand BudgieSound{QStringLiteral("budgie-control-center"), {QStringLiteral("sound")}};

const DesktopTool DesktopTools[] = {
    {"GNOME", GnomeSound, GnomeSound},
    {"Unity", GnomeSound, GnomeSound},
    {"KDE", PlasmaSound, PlasmaSound},
    {"X-Cinnamon", CinnamonSound, CinnamonSound},
    {"Budgie", BudgieSound, BudgieSound},
    {"MATE",
     {QStringLiteral("mate-volume-control"), {QStringLiteral("--page=output")}},
     {QStringLiteral("mate-volume-control"), {QStringLiteral("--page=input")}}},
    {"LXQt",
     {QStringLiteral("pavucontrol-qt"), {QStringLiteral("--tab=3")}},
     {QStringLiteral("pavucontrol-qt"), {QStringLiteral("--tab=4")}}},
};
} // namespace

std::optional<ProgramCommand> SoundSettingsCommand(SoundDevices devices, const QString& desktops,
                                                   const ProgramLauncher& launcher)
{
    const bool playback = devices == SoundDevices::Playback;
    // pavucontrol's tabs: 3 the output devices, 4 the input devices.
    const ProgramCommand pavucontrol{QStringLiteral("pavucontrol"),
                                     {playback ? QStringLiteral("--tab=3") : QStringLiteral("--tab=4")}};
    if (launcher.isInstalled(pavucontrol.program))
        return pavucontrol;
    for (const QString& desktop : desktops.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        for (const DesktopTool& tool : DesktopTools) {
            const ProgramCommand& command = playback ? tool.playback : tool.recording;
            if (desktop.compare(QLatin1String(tool.desktop), Qt::CaseInsensitive) == 0 &&
                launcher.isInstalled(command.program))
                return command;
        }
    }
    return std::nullopt;
}

void OpenSoundSettings(ProgramLauncher& launcher, SoundDevices devices, const QString& desktops)
{
    if (const auto command = SoundSettingsCommand(devices, desktops, launcher))
        launcher.startDetached(command->program, command->arguments);
}
