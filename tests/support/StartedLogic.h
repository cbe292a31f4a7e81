#pragma once

#include "FakeMainView.h"
#include "FakeServices.h"
#include "SoundTestFiles.h"
#include "app/gVars.h"
#include "report/ReportLog.h"

/// The main window's logic created and activated with one sound and no delays, the given
/// values stored under the state key before its start.
struct StartedLogic : FakeServices
{
    FakeMainView view;
    MainLogic logic{services(), view};
    bool created = false;

    explicit StartedLogic(const QStringList& stateValues = {}, const QByteArray& pinHash = {})
    {
        using namespace gRegistry;
        if (!pinHash.isEmpty())
            store->WriteSetting(GuardKey, "PinHash", QString::fromUtf8(pinHash));
        for (const QString& name : stateValues)
            store->WriteSetting(StateKey, name, "T");
        store->WriteSetting(SoundSelectionKey, "siren.wav", "T");
        store->WriteSetting(TuningKey, "frmMainspnActivationDelay", "0");
        store->WriteSetting(TuningKey, "frmMainspnTriggerDelay", "0");
        makeFile(SoundsFolder + "siren.wav");
        created = logic.FormCreate();
        logic.FormActivate();
    }

    /// The report's messages without their time stamps.
    QStringList reportMessages()
    {
        QStringList messages;
        for (const QString& line : logic.report().ReportLines())
            messages << line.mid(line.indexOf("] ") + 2);
        return messages;
    }
};
