#pragma once

#include "FakeAudioBackend.h"
#include "FakeMessageBoxes.h"
#include "FakeSoundFileDialog.h"
#include "SoundTestFiles.h"
#include "FakePlayback.h"
#include "TempEnvironment.h"
#include "VirtualClock.h"
#include "app/Random.h"
#include "app/gVars.h"
#include "app/fmMain.h"
#include "settings/gRegistry.h"

#include <memory>

/// A main window on the offscreen platform with a private settings file and data folder, a
/// virtual clock, a seeded random source, scripted message boxes and a fake audio engine.
/// Settings written before open() are what the window finds at its creation.
struct MainWindowFixture
{
    TempEnvironment env;
    VirtualClock clock;
    SeededRandom random{1234};
    FakeMessageBoxes messages;
    FakeSoundFileDialog soundFiles;
    FakeAudioBackend audio{clock};
    std::unique_ptr<SettingsStore> store = std::make_unique<SettingsStore>(env.settingsFile());
    std::unique_ptr<TfrmMain> window;
    FakePlayback* playback = nullptr; // owned by the window once open() ran

    TfrmMain& open()
    {
        window = std::make_unique<TfrmMain>(
            MainServices{*store, clock, clock, random, messages, QStringLiteral(":"),
                         [this](const TunableValues&) {
                             auto fake = std::make_unique<FakePlayback>(clock);
                             playback = fake.get();
                             return fake;
                         },
                           soundFiles, audio});
        return *window;
    }

    /// Closes the window and reads the settings file afresh, as the next start would.
    void restart()
    {
        window.reset();
        store.reset();
        store = std::make_unique<SettingsStore>(env.settingsFile());
    }

    /// Puts an (empty) sound file of that name into the sounds folder.
    static void addSoundFile(const QString& name) { makeFile(SoundsFolder + name); }

    template <typename T> T* find(const QString& name) const
    {
        return window->findChild<T*>(name);
    }
};
