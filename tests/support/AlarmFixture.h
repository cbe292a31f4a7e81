#pragma once

#include "FakeAlarmView.h"
#include "FakeAutostart.h"
#include "FakePinPrompt.h"
#include "FakePlayback.h"
#include "FakeTunables.h"
#include "ScriptedRandom.h"
#include "TempEnvironment.h"
#include "VirtualClock.h"
#include "alarm/AlarmController.h"
#include "alarm/AlarmSimulation.h"
#include "alarm/Switches.h"
#include "alarm/TaskQueue.h"
#include "app/gVars.h"
#include "report/ReportLog.h"
#include "settings/gRegistry.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

/// The alarm logic on a virtual clock in a private per-user world: real report file, settings
/// file and autostart entry, fake playback and window. The player loop is started, as it is at
/// the end of the main window's creation.
struct AlarmFixture
{
    TempEnvironment env;
    VirtualClock clock;
    ScriptedRandom random;
    FakeTunables tunables;
    QStringList sounds; // SelectedSounds
    FakePlayback playback{clock};
    ReportLog report{clock, ReportsFolder, QStringLiteral(":")};
    SettingsStore store{env.settingsFile()};
    Switches switches;
    FakeAlarmView view;
    FakeAutostart autostart;
    TaskQueue queue{clock, random, tunables, sounds, SoundsFolder, playback};
    FakePinPrompt pinPrompt;
    AlarmController controller{{switches, tunables, store, view, clock}, queue, playback, report,
                               autostart, QByteArray(), pinPrompt};
    AlarmSimulation simulation{{switches, tunables, store, view, clock}, random, controller};

    AlarmFixture() { queue.start(); }

    /// A selected sound whose file exists in SoundsFolder.
    void addSound(const QString& name)
    {
        QDir().mkpath(SoundsFolder);
        QFile file(SoundsFolder + name);
        file.open(QIODevice::WriteOnly);
        file.write("RIFF");
        sounds << name;
    }

    /// The report's messages without their time stamps.
    QStringList messages() const
    {
        QStringList result;
        static const QRegularExpression stamp(QStringLiteral("^\\[\\d\\d\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d\\] "));
        for (QString line : report.ReportLines())
            result << line.remove(stamp);
        return result;
    }

    QString stored(const QString& valueName)
    {
        return store.ReadSetting(gRegistry::StateKey, valueName);
    }

    bool autostartExists() const { return autostart.present; }

    /// Arms with the toggle and lets the activation delay run out.
    void armAndWait()
    {
        controller.ActActivateToggleExecute();
        clock.advance(qint64(tunables.value(Tunable::spnActivationDelay)) * 1000);
    }
};
