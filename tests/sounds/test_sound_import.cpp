// Importing sounds on the real window: LoadSound, the add dialog, drops onto the list and the
// limit of 9999 sounds.
#include "MainWindowFixture.h"
#include "sounds/QtSoundFileDialog.h"
#include "sounds/SoundLibrary.h"

#include <QFileDialog>
#include <QListWidget>
#include <QMimeData>
#include <QTest>

namespace {
const QString Overwrite = QStringLiteral(
    "The sound you try to import is already in the list!\r\nWould you like to overwrite it?");
const QString Limit = QStringLiteral("Maximum number of the allowed Alarm Sounds is: 9999");

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

/// The list's items, a checked one marked with "+".
QStringList itemsOf(const MainWindowFixture& f)
{
    auto* list = f.find<QListWidget>("chklbSounds");
    QStringList items;
    for (int row = 0; row < list->count(); ++row)
        items << list->item(row)->text() + (list->item(row)->checkState() == Qt::Checked ? "+" : "");
    return items;
}

/// Drags the files onto the widget; true when the drag was taken as a copy.
bool drop(QWidget* target, const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(target, &leave);
        return false;
    }
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
    QCoreApplication::processEvents(); // the imports run once the drop has finished
    return event.isAccepted() && event.dropAction() == Qt::CopyAction;
}
} // namespace

class SoundImportTest : public QObject
{
    Q_OBJECT
private slots:
    void newSoundComesUpCheckedSelectedAndStored()
    {
        MainWindowFixture f;
        f.addSoundFile("zulu.wav");
        f.open();
        f.logic->soundLibrary().LoadSound(makeFile(f.env.root() + "/import/Alpha.wav", "alpha"));
        QCOMPARE(itemsOf(f), (QStringList{"Alpha.wav+", "zulu.wav"}));
        QCOMPARE(f.find<QListWidget>("chklbSounds")->currentRow(), 0);
        QCOMPARE(contentOf(SoundsFolder + "Alpha.wav"), QByteArray("alpha"));
        QCOMPARE(storedSelection(*f.store), QStringList{"Alpha.wav"});
        QVERIFY(f.messages.shown.isEmpty());
    }

    void existingSoundIsReplacedOnlyAfterYes()
    {
        MainWindowFixture f;
        f.addSoundFile("a.wav");
        f.addSoundFile("siren.wav");
        f.open();
        const QString source = makeFile(f.env.root() + "/import/siren.wav", "louder");
        f.messages.answers = {false, true};
        f.logic->soundLibrary().LoadSound(source);
        QCOMPARE(f.messages.shown, QStringList{Overwrite});
        QCOMPARE(contentOf(SoundsFolder + "siren.wav"), QByteArray());
        QCOMPARE(itemsOf(f), (QStringList{"a.wav", "siren.wav"}));

        f.logic->soundLibrary().LoadSound(source);
        QCOMPARE(f.messages.shown, (QStringList{Overwrite, Overwrite}));
        QCOMPARE(contentOf(SoundsFolder + "siren.wav"), QByteArray("louder"));
        QCOMPARE(itemsOf(f), (QStringList{"a.wav", "siren.wav+"}));
        QCOMPARE(f.find<QListWidget>("chklbSounds")->currentRow(), 1);
    }

    void filesInTheDataFolderAreRefusedButLookalikeFoldersAreNot()
    {
        MainWindowFixture f;
        f.addSoundFile("kept.wav");
        f.open();
        const QString refusal =
            "You cannot import already imported files.\r\n\r\nYou must browse outside the " +
            DataFolder + " working directory.\r\n\r\nThe file you are trying to import it resides "
                         "in the working directory mentioned above.";
        f.logic->soundLibrary().LoadSound(SoundsFolder + "kept.wav");
        f.logic->soundLibrary().LoadSound(makeFile(DataFolder + "deeper/below/other.wav"));
        QCOMPARE(f.messages.shown, (QStringList{refusal, refusal}));
        QVERIFY(!QFile::exists(SoundsFolder + "other.wav"));

        f.messages.shown.clear();
        f.logic->soundLibrary().LoadSound(
            makeFile(f.env.root() + "/backup" + DataFolder + "old.wav"));
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(itemsOf(f), (QStringList{"kept.wav", "old.wav+"}));
    }

    void failedFolderOrCopyImportsNothingSilently()
    {
        MainWindowFixture f;
        f.open();
        const QString source = makeFile(f.env.root() + "/import/song.wav");
        makeFile(SoundsFolder.chopped(1), "a file where the folder belongs");
        f.logic->soundLibrary().LoadSound(source);
        QVERIFY(f.messages.shown.isEmpty());

        // A folder of the sound's name makes the copy fail after the overwrite question.
        QVERIFY(QFile::remove(SoundsFolder.chopped(1)));
        QVERIFY(QDir().mkpath(SoundsFolder + "song.wav"));
        f.logic->soundLibrary().LoadSound(source);
        QCOMPARE(f.messages.shown, QStringList{Overwrite});
        QVERIFY(QFileInfo(SoundsFolder + "song.wav").isDir());
        QVERIFY(f.logic->SelectedSounds().isEmpty());
    }

    void fileTheListCouldNeverShowIsRefusedWithAMessage()
    {
        MainWindowFixture f;
        f.open();
        f.logic->soundLibrary().LoadSound(makeFile(f.env.root() + "/import/bell.au"));
        QCOMPARE(f.messages.shown,
                 QStringList{"Only .wav and .mp3 files can be alarm sounds.\r\n\r\nbell.au was not imported."});
        QVERIFY(!QFile::exists(SoundsFolder + "bell.au"));
    }

    void dropOnTheListImportsSoundsInOrderAndSkipsOtherFiles()
    {
        MainWindowFixture f;
        f.addSoundFile("two.mp3");
        TfrmMain& w = f.open();
        auto* list = f.find<QListWidget>("chklbSounds");
        const QString dir = f.env.root() + "/drop/";
        QVERIFY(drop(list->viewport(), {makeFile(dir + "readme.txt"), makeFile(dir + "ONE.WAV"),
                                        makeFile(dir + "two.mp3", "2")}));
        QCOMPARE(f.messages.shown, QStringList{Overwrite});
        QCOMPARE(itemsOf(f), (QStringList{"ONE.WAV+", "two.mp3+"}));
        QCOMPARE(list->currentRow(), 1); // the last one imported
        QCOMPARE(contentOf(SoundsFolder + "two.mp3"), QByteArray("2"));
        QVERIFY(!QFile::exists(SoundsFolder + "readme.txt"));

        // Nothing else on the window takes files.
        QVERIFY(!drop(f.find<QWidget>("pnlSoundsTitle"), {makeFile(dir + "three.wav")}));
        for (QWidget* widget : w.findChildren<QWidget*>())
            QVERIFY(widget->acceptDrops() == (widget == list || widget == list->viewport()));
        QCOMPARE(f.logic->SelectedSounds(), (QStringList{"ONE.WAV", "two.mp3"}));
    }

    void addSoundOpensTheDialogAndImportsTheChoice()
    {
        MainWindowFixture f;
        f.open();
        f.soundFiles.answers = {QString(), makeFile(f.env.root() + "/import/chime.mp3")};
        auto* add = f.find<QAction>("ActAddSound");
        add->trigger(); // cancelled
        QCOMPARE(f.find<QListWidget>("chklbSounds")->count(), 0);
        add->trigger();
        QCOMPARE(f.soundFiles.opened, 2);
        QCOMPARE(f.logic->SelectedSounds(), QStringList{"chime.mp3"});

        QFileDialog dialog;
        QtSoundFileDialog::configure(dialog);
        QCOMPARE(dialog.nameFilters(), (QStringList{"All (*.wav *.mp3 *.au)", "Wave (*.wav)",
                                                    "Mpeg layer 3 (*.mp3)"}));
        QCOMPARE(dialog.selectedNameFilter(), QStringLiteral("All (*.wav *.mp3 *.au)"));
        QCOMPARE(dialog.defaultSuffix(), QStringLiteral("wav"));
        QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
    }

    void fullListRefusesEveryFurtherImport()
    {
        MainWindowFixture f;
        for (int i = 0; i < SoundLibrary::MaxSounds; ++i)
            f.addSoundFile(QStringLiteral("s%1.wav").arg(i));
        f.open();
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(f.find<QListWidget>("chklbSounds")->count(), SoundLibrary::MaxSounds);

        f.find<QAction>("ActAddSound")->trigger();
        QCOMPARE(f.messages.shown, QStringList{Limit});
        QCOMPARE(f.soundFiles.opened, 0);
        const QString dir = f.env.root() + "/drop/";
        QVERIFY(drop(f.find<QListWidget>("chklbSounds")->viewport(),
                     {makeFile(dir + "skipped.txt"), makeFile(dir + "a.wav"), makeFile(dir + "b.wav")}));
        QCOMPARE(f.messages.shown, (QStringList{Limit, Limit}));
        QVERIFY(!QFile::exists(SoundsFolder + "a.wav"));
    }
};

QTEST_MAIN(SoundImportTest)
#include "test_sound_import.moc"
