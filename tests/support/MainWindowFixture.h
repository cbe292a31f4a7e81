#pragma once

#include "FakeServices.h"
#include "SoundTestFiles.h"
#include "app/fmMain.h"
#include "app/gVars.h"
#include "audio/RecordingControl.h"

#include <memory>

/// A main window and its logic on the offscreen platform, with every collaborator faked.
/// Settings written before open() are what the window finds at its creation.
struct MainWindowFixture : FakeServices
{
    std::unique_ptr<TfrmMain> window;
    std::unique_ptr<MainLogic> logic; // goes before the window, as in the program
    bool created = false;             // the audio devices started

    TfrmMain& open()
    {
        window = std::make_unique<TfrmMain>();
        logic = std::make_unique<MainLogic>(services(), *window);
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
