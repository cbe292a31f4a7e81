#pragma once

#include "FakeAlertTransport.h"
#include "FakeAudioBackend.h"
#include "FakeAutostart.h"
#include "FakeKeySource.h"
#include "FakeMessageBoxes.h"
#include "FakePlayback.h"
#include "FakePointerSource.h"
#include "FakeProgramLauncher.h"
#include "FakeSoundFileDialog.h"
#include "FakeUrlOpener.h"
#include "TempEnvironment.h"
#include "VirtualClock.h"
#include "app/MainLogic.h"
#include "core/Random.h"
#include "settings/gRegistry.h"

#include <memory>

/// Every collaborator of the main window's logic, faked, in a private per-user world: a
/// settings file and data folder of its own, a virtual clock, a seeded random source, scripted
/// message boxes and file dialog, a fake audio engine, start-at-logon entry, desktop pointer and keyboard,
/// link opener and program launcher.
/// The playback it builds plays on the virtual clock.
struct FakeServices
{
    TempEnvironment env;
    VirtualClock clock;
    SeededRandom random{1234};
    FakeMessageBoxes messages;
    FakeSoundFileDialog soundFiles;
    FakeAudioBackend audio{clock};
    FakeAutostart autostart;
    FakePointerSource pointer;
    FakeKeySource keys;
    FakeUrlOpener urls;
    FakeProgramLauncher programs;
    std::unique_ptr<SettingsStore> store = std::make_unique<SettingsStore>(env.settingsFile());
    FakePlayback* playback = nullptr; // owned by the logic once it has built it
    std::vector<FakeAlertTransport*> alertTransports; // every one built, owned by the logic

    MainServices services()
    {
        return MainServices{*store,
                            clock,
                            clock,
                            random,
                            messages,
                            QStringLiteral(":"),
                            [this](const TunableValues&) {
                                auto fake = std::make_unique<FakePlayback>(clock);
                                playback = fake.get();
                                return fake;
                            },
                            soundFiles,
                            audio,
                            autostart,
                            pointer,
                            keys,
                            urls,
                            programs,
                            [this] {
                                auto fake = std::make_unique<FakeAlertTransport>();
                                alertTransports.push_back(fake.get());
                                return fake;
                            }};
    }
};
