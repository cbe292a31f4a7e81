// The sound library's logic without any window: folder scan, limit, real-path refusal, and the
// order of events in imports and removals, including their error paths.
#include "FakeMessageBoxes.h"
#include "FakeSoundFileDialog.h"
#include "TempEnvironment.h"
#include "app/ControlStateRefresh.h"
#include "app/gVars.h"
#include "audio/AlarmPlayback.h"
#include "audio/OutputPause.h"
#include "settings/gRegistry.h"
#include "sounds/SoundLibrary.h"
#include "sounds/SoundList.h"
#include "sounds/SoundSelection.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <stdexcept>

namespace {
/// Every collaborator writes what happens to it into one log, so tests can check the order.
struct Collaborators : FakeMessageBoxes, OutputPause, ControlStateRefresh, AlarmPlayback
{
    QStringList log;
    bool failKeyState = false;

    bool question(const QString& text) override
    {
        log << QStringLiteral("ask");
        return FakeMessageBoxes::question(text);
    }
    void message(const QString& text) override
    {
        log << QStringLiteral("message");
        FakeMessageBoxes::message(text);
    }
    void pauseOutput() override { log << QStringLiteral("pause"); }
    void resumeOutput() override { log << QStringLiteral("resume"); }
    void KeyState() override
    {
        if (failKeyState)
            throw std::runtime_error("refresh failed");
    }
    void PlayHow(int slot, int panMode, const QString& path) override
    {
        log << QStringLiteral("play %1 %2 %3").arg(slot).arg(panMode).arg(path);
    }
    void StopSounds() override { log << QStringLiteral("stop"); }
    bool IsPlaying() const override { return false; }
};

void makeFile(const QString& path, const QByteArray& content = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QStringList itemsOf(const SoundList& list)
{
    QStringList items;
    for (int row = 0; row < list.count(); ++row)
        items << list.text(row);
    return items;
}
} // namespace

class SoundLibraryTest : public QObject
{
    Q_OBJECT

    struct Rig
    {
        TempEnvironment env;
        SettingsStore store{env.settingsFile()};
        Collaborators with;
        FakeSoundFileDialog dialog;
        SoundList list;
        QStringList selected;
        SoundSelection selection{store, list, selected, with};
        SoundLibrary library{{list, selection, with, with, with, dialog, with}};
    };

private slots:
    void scanListsWavAndMp3InAnyLetterCaseAndNothingElse()
    {
        Rig r;
        for (const char* name : {"b.WAV", "a.wav", "C.Mp3", "A.wav", "notes.txt", "wav", "x.wav.bak",
                                 "inner/deep.wav"})
            makeFile(SoundsFolder + QString::fromLatin1(name));
        QDir().mkpath(SoundsFolder + "folder.wav");
        r.library.FillSounds(QString());
        QCOMPARE(itemsOf(r.list), (QStringList{"A.wav", "a.wav", "b.WAV", "C.Mp3"}));
        QCOMPARE(r.list.currentRow(), 0);
        QVERIFY(r.with.shown.isEmpty());
    }

    void missingFolderGivesAnEmptyListWithoutMessage()
    {
        Rig r;
        r.library.FillSounds(QStringLiteral("a.wav"));
        QCOMPARE(r.list.count(), 0);
        QCOMPARE(r.list.currentRow(), -1);
        QVERIFY(r.with.shown.isEmpty());
    }

    void limitStopsTheScanOncePerFillAndSkipsTheMp3Pass()
    {
        Rig r;
        QDir().mkpath(SoundsFolder);
        for (int i = 0; i < SoundLibrary::MaxSounds - 1; ++i)
            makeFile(SoundsFolder + QStringLiteral("s%1.wav").arg(i));
        for (const char* name : {"m1.mp3", "m2.mp3", "m3.mp3"})
            makeFile(SoundsFolder + QString::fromLatin1(name));
        const QString limit = QStringLiteral("Maximum number of the allowed Alarm Sounds is: 9999");

        r.library.FillSounds(QString());
        QCOMPARE(r.list.count(), SoundLibrary::MaxSounds);
        QCOMPARE(r.with.shown, QStringList{limit});
        QCOMPARE(itemsOf(r.list).filter(".mp3").size(), 1);

        // With 9999 .wav files the .mp3 pass does not run at all: still one message.
        makeFile(SoundsFolder + "s-last.wav");
        r.with.shown.clear();
        r.library.FillSounds(QString());
        QCOMPARE(r.with.shown, QStringList{limit});
        QVERIFY(itemsOf(r.list).filter(".mp3").isEmpty());
    }

    void realPathsDecideWhatLiesInTheDataFolder()
    {
        Rig r;
        const QString outside = r.env.root() + "/outside/";
        makeFile(SoundsFolder + "inside.wav");
        QVERIFY(QFile::link(SoundsFolder + "inside.wav", r.env.root() + "/link-to-inside.wav"));
        QVERIFY(QFile::link(DataFolder, r.env.root() + "/data-link"));
        makeFile(outside + "plain.wav");

        QVERIFY(r.library.IsInWorkingDirectory(DataFolder, r.env.root() + "/link-to-inside.wav"));
        QVERIFY(r.library.IsInWorkingDirectory(DataFolder, r.env.root() + "/data-link/Sounds/inside.wav"));
        QVERIFY(r.library.IsInWorkingDirectory(DataFolder, DataFolder + "not-there.wav"));
        QCOMPARE(r.with.shown.size(), 3);
        QVERIFY(!r.library.IsInWorkingDirectory(DataFolder, outside + "plain.wav"));
        // A sibling whose name starts with the data folder's name is not inside it.
        makeFile(DataFolder.chopped(1) + "-old/near.wav");
        QVERIFY(!r.library.IsInWorkingDirectory(DataFolder, DataFolder.chopped(1) + "-old/near.wav"));
        QCOMPARE(r.with.shown.size(), 3);
    }

    void removalStopsAndPausesBeforeAskingAndResumesWhateverTheAnswer()
    {
        Rig r;
        makeFile(SoundsFolder + "a.wav");
        r.library.FillSounds(QString());
        r.with.log.clear();
        r.with.answers = {false};
        r.library.ActRemoveSoundExecute();
        QCOMPARE(r.with.log, (QStringList{"stop", "pause", "ask", "resume"}));
        QVERIFY(QFile::exists(SoundsFolder + "a.wav"));

        r.with.log.clear();
        r.library.ActRemoveSoundExecute();
        QCOMPARE(r.with.log, (QStringList{"stop", "pause", "ask", "resume"}));
        QVERIFY(!QFile::exists(SoundsFolder + "a.wav"));
        QCOMPARE(r.list.count(), 0);

        // Nothing selected: nothing stops, nothing pauses.
        r.with.log.clear();
        r.library.ActRemoveSoundExecute();
        QVERIFY(r.with.log.isEmpty());
    }

    void errorsWhileRebuildingAreReportedAndOutputStillResumes()
    {
        Rig r;
        makeFile(SoundsFolder + "a.wav");
        makeFile(SoundsFolder + "b.wav");
        r.library.FillSounds(QString());
        r.with.log.clear();
        r.with.failKeyState = true;
        r.library.ActRemoveSoundExecute();
        QCOMPARE(r.with.shown.last(), QStringLiteral("Error Remove Sound."));
        QCOMPARE(r.with.log, (QStringList{"stop", "pause", "ask", "message", "resume"}));

        makeFile(r.env.root() + "/import/new.wav");
        r.library.LoadSound(r.env.root() + "/import/new.wav");
        QCOMPARE(r.with.shown.last(), QStringLiteral("Error Adding Sound."));
        QVERIFY(QFile::exists(SoundsFolder + "new.wav"));
    }

    void speakerTestStopsAllThenPlaysTheSelectedSoundOnly()
    {
        Rig r;
        r.library.TestPlay(PanLeft);
        QVERIFY(r.with.log.isEmpty());
        makeFile(SoundsFolder + "a.wav");
        makeFile(SoundsFolder + "b.wav");
        r.library.FillSounds(QStringLiteral("b.wav"));
        r.with.log.clear();
        r.library.TestPlay(PanRight);
        QCOMPARE(r.with.log, (QStringList{"stop", "play 0 0 " + SoundsFolder + "b.wav"}));
    }

    void listKeepsCaseBlindOrderAndCheckCommandsActOnEveryItem()
    {
        SoundList list;
        list.beginRefill();
        for (const char* name : {"delta.wav", "Bravo.mp3", "alpha.wav", "charlie.WAV"})
            list.append(QString::fromLatin1(name));
        list.sortItems();
        list.endRefill();
        QCOMPARE(itemsOf(list), (QStringList{"alpha.wav", "Bravo.mp3", "charlie.WAV", "delta.wav"}));
        list.setChecked(1, true);
        list.applyCheckMode(CheckMode::CheckInverse);
        QVERIFY(list.isChecked(0) && !list.isChecked(1) && list.isChecked(2) && list.isChecked(3));
        list.applyCheckMode(CheckMode::UncheckAll);
        QVERIFY(!list.isChecked(0) && !list.isChecked(2));
        list.applyCheckMode(CheckMode::CheckAll);
        QVERIFY(list.isChecked(0) && list.isChecked(1) && list.isChecked(2) && list.isChecked(3));
    }
};

QTEST_GUILESS_MAIN(SoundLibraryTest)
#include "test_sound_library.moc"
