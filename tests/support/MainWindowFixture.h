#pragma once

#include "FakeAudioBackend.h"
#include "FakeAutostart.h"
#include "FakeMessageBoxes.h"
#include "FakePointerSource.h"
#include "FakePlayback.h"
#include "FakeSoundFileDialog.h"
#include "SoundTestFiles.h"
#include "TempEnvironment.h"
#include "VirtualClock.h"
#include "app/MainLogic.h"
#include "app/fmMain.h"
#include "app/gVars.h"
#include "audio/RecordingControl.h"
#include "core/Random.h"
#include "settings/gRegistry.h"

#include <memory>

/// A main window and its logic on the offscreen platform with a private settings file and data
/// folder, a virtual clock, a seeded random source, scripted message boxes, a fake audio engine
/// a fake start-at-logon entry and a fake desktop pointer. Settings written before open() are what the window finds at
/// its creation.
struct MainWindowFixture
{
    TempEnvironment env;
    VirtualClock clock;
    SeededRandom random{1234};
    FakeMessageBoxes messages;
    FakeSoundFileDialog soundFiles;
    FakeAudioBackend audio{clock};
    FakeAutostart autostart;
    FakePointerSource pointer;
    std::unique_ptr<SettingsStore> store = std::make_unique<SettingsStore>(env.settingsFile());
    std::unique_ptr<TfrmMain> window;
    std::unique_ptr<MainLogic> logic; // goes before the window, as in the program
    bool created = false;             // the audio devices started
    FakePlayback* playback = nullptr; // owned by the logic once open() ran

    TfrmMain& open()
    {
        window = std::make_unique<TfrmMain>();
        logic = std::make_unique<MainLogic>(
            MainServices{*store, clock, clock, random, messages, QStringLiteral(":"),
                         [this](const TunableValues&) {
                             auto fake = std::make_unique<FakePlayback>(clock);
                             playback = fake.get();
                             return fake;
                         },
                         soundFiles, audio, autostart, pointer},
            *window);
        created = window->create(*logic);
        return *window;
    }

    /// Ends the program and reads the settings file afresh, as the next start would.
    void restart()
    {
        logic.reset();
        window.reset();
        store.reset();
        store = std::make_unique<SettingsStore>(env.settingsFile());
    }

    /// Puts an (empty) sound file of that name into the sounds folder.
    static void addSoundFile(const QString& name) { makeFile(SoundsFolder + name); }

    /// The microphone switch and its recording.
    RecordingControl& mic() { return logic->recordingControl(); }
    const MicRecording& recording() { return mic().recording(); }

    template <typename T> T* find(const QString& name) const
    {
        return window->findChild<T*>(name);
    }
};
