// The sound library without a window: the folder scan and its limit, real-path refusal, and the
// order of events in a removal, including the error paths.
#include "FakeMessageBoxes.h"
#include "FakeSoundFileDialog.h"
#include "SoundTestFiles.h"
#include "TempEnvironment.h"
#include "app/gVars.h"
#include "audio/AlarmPlayback.h"
#include "audio/OutputPause.h"
#include "core/ControlStateRefresh.h"
#include "sounds/SoundLibrary.h"
#include "sounds/SoundSelection.h"

#include <QTest>
#include <stdexcept>

namespace {
/// Every collaborator writes into one log, so a test sees the order of events.
struct Collaborators : FakeMessageBoxes, OutputPause, ControlStateRefresh, AlarmPlayback
{
    QStringList log;
    bool failKeyState = false;

    bool question(const QString& text) override { return log << "ask", FakeMessageBoxes::question(text); }
    void message(const QString& text) override { log << "message", FakeMessageBoxes::message(text); }
    void pauseOutput() override { log << "pause"; }
    void resumeOutput() override { log << "resume"; }
    void KeyState() override
    {
        if (failKeyState)
            throw std::runtime_error("refresh failed");
    }
    void PlayHow(int, int, const QString&) override { log << "play"; }
    void StopSounds() override { log << "stop"; }
    bool IsPlaying() const override { return false; }
};

struct Rig
{
    TempEnvironment env;
    SettingsStore store{env.settingsFile()};
    Collaborators with;
    FakeSoundFileDialog dialog;
    SoundList list;
    QStringList selected;
    SoundSelection selection{store, list, selected, with};
    SoundLibrary library{
        {list, selection, with, with, with, dialog, with, DataFolder, SoundsFolder}};

    QStringList items() const
    {
        QStringList names;
        for (int row = 0; row < list.count(); ++row)
            names << list.text(row);
        return names;
    }
};
} // namespace

class SoundLibraryTest : public QObject
{
    Q_OBJECT
private slots:
    void scanListsWavAndMp3InAnyLetterCaseInOrderAndNothingElse()
    {
        Rig r;
        r.library.FillSounds(QString()); // no folder yet
        QCOMPARE(r.list.count(), 0);
        for (const char* name : {"b.WAV", "a.wav", "C.Mp3", "A.wav", "notes.txt", "wav", "x.wav.bak",
                                 "inner/deep.wav", "folder.wav/x"})
            makeFile(SoundsFolder + QString::fromLatin1(name));
        r.library.FillSounds(QString());
        QCOMPARE(r.items(), (QStringList{"A.wav", "a.wav", "b.WAV", "C.Mp3"}));
        QCOMPARE(r.list.currentRow(), 0);
        QVERIFY(r.with.shown.isEmpty());
    }

    void limitStopsTheScanOncePerFillAndSkipsTheMp3Pass()
    {
        Rig r;
        for (int i = 0; i < SoundLibrary::MaxSounds - 1; ++i)
            makeFile(SoundsFolder + QStringLiteral("s%1.wav").arg(i));
        for (const char* name : {"m1.mp3", "m2.mp3", "m3.mp3"})
            makeFile(SoundsFolder + QString::fromLatin1(name));
        const QStringList limit{"Maximum number of the allowed Alarm Sounds is: 9999"};
        r.library.FillSounds(QString());
        QCOMPARE(r.list.count(), SoundLibrary::MaxSounds);
        QCOMPARE(r.with.shown, limit);
        QCOMPARE(r.items().filter(".mp3").size(), 1);

        makeFile(SoundsFolder + "s-last.wav"); // 9999 .wav files: the .mp3 pass never runs
        r.with.shown.clear();
        r.library.FillSounds(QString());
        QCOMPARE(r.with.shown, limit);
        QVERIFY(r.items().filter(".mp3").isEmpty());
    }

    void realPathsDecideWhatLiesInTheDataFolder()
    {
        Rig r;
        makeFile(SoundsFolder + "inside.wav");
        QVERIFY(QFile::link(SoundsFolder + "inside.wav", r.env.root() + "/link-to-inside.wav"));
        QVERIFY(QFile::link(DataFolder, r.env.root() + "/data-link"));
        QVERIFY(r.library.IsInWorkingDirectory(DataFolder, r.env.root() + "/link-to-inside.wav"));
        QVERIFY(r.library.IsInWorkingDirectory(DataFolder, r.env.root() + "/data-link/Sounds/inside.wav"));
        QVERIFY(r.library.IsInWorkingDirectory(DataFolder, DataFolder + "not-there.wav"));
        QCOMPARE(r.with.shown.size(), 3);
        // A sibling whose name begins with the data folder's name is not inside it.
        const QString sibling = makeFile(DataFolder.chopped(1) + "-old/near.wav");
        QVERIFY(!r.library.IsInWorkingDirectory(DataFolder, sibling));
        QCOMPARE(r.with.shown.size(), 3);
    }

    void removalStopsAndPausesBeforeAskingAndResumesOnEveryPath()
    {
        Rig r;
        for (const char* name : {"a.wav", "b.wav", "c.wav"})
            makeFile(SoundsFolder + QString::fromLatin1(name));
        r.library.FillSounds(QString());
        const QStringList asked{"stop", "pause", "ask", "resume"};
        r.with.answers = {false};
        r.library.ActRemoveSoundExecute();
        QCOMPARE(r.with.log, asked);
        QCOMPARE(r.list.count(), 3);

        r.with.log.clear();
        r.library.ActRemoveSoundExecute();
        QCOMPARE(r.with.log, asked);
        QCOMPARE(r.items(), (QStringList{"b.wav", "c.wav"}));

        r.with.log.clear();
        r.with.failKeyState = true; // the rebuild after the deletion fails
        r.library.ActRemoveSoundExecute();
        QCOMPARE(r.with.log, (QStringList{"stop", "pause", "ask", "message", "resume"}));
        QCOMPARE(r.with.shown.last(), QStringLiteral("Error Remove Sound."));

        r.library.LoadSound(makeFile(r.env.root() + "/import/new.wav"));
        QCOMPARE(r.with.shown.last(), QStringLiteral("Error Adding Sound."));
    }
};

QTEST_GUILESS_MAIN(SoundLibraryTest)
#include "test_sound_library.moc"
