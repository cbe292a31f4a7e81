#pragma once

// The real program set up to be armed with chosen detectors and one alarm sound, for tests that
// play the intruder.
#include "RealProgram.h"
#include "SoundFiles.h"

#include <QDir>
#include <QFile>

/// The pitch of the one alarm sound.
inline constexpr double AlarmFileHz = 2000;

/// No delays, one alarm sound of AlarmFileHz per alarm at a fixed pitch, the mouse threshold
/// at 50 pixels; armed when the program last closed, with the given switches on. False when
/// the sound cannot be written.
inline bool storeSettings(bool armed, const QStringList& switches, double alarmSeconds = 0.5)
{
    SettingsStore store(SettingsFilePath());
    using namespace gRegistry;
    for (const auto& [name, value] :
         {std::pair{"spnActivationDelay", "0"}, std::pair{"spnTriggerDelay", "0"},
          std::pair{"trkMicTriggerDuration", "0"}, std::pair{"trkPersistence", "0"},
          std::pair{"trkPersistenceRandom", "0"}, std::pair{"trkRandomAlteration", "0"},
          std::pair{"trkMouseSensivity", "50"}})
        store.WriteSetting(TuningKey, QStringLiteral("frmMain") + name, value);
    if (armed)
        store.WriteSetting(StateKey, "Alarm Active", "T");
    for (const QString& name : switches)
        store.WriteSetting(StateKey, name, "T");
    store.WriteSetting(SoundSelectionKey, "alarm.wav", "T");
    QDir().mkpath(SoundsFolder);
    return writeTone(SoundsFolder + "alarm.wav", {.seconds = alarmSeconds, .leftHz = AlarmFileHz});
}

/// Starts the program and waits until it has re-armed with the one detector on.
inline void startArmed(Program& program, const QString& detectorLine)
{
    QFile::remove(ReportsFolder + "Report.txt");
    program.start();
    QVERIFY(!QTest::currentTestFailed());
    const QStringList armed{detectorLine, "Alarm - Activated"};
    QVERIFY2(waitFor([&] { return reportMessages() == armed; }),
             qPrintable(reportMessages().join(" | ")));
}

/// Whether the report holds the message that many times within the time.
inline bool reported(const QString& message, int withinMs, int times = 1)
{
    return waitFor([&] { return reportMessages().count(message) >= times; }, withinMs);
}

