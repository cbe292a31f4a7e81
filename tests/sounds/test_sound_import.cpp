// Importing sounds on the real window: LoadSound, the add dialog, drops onto the list, the
// limit of 9999 sounds.
#include "MainWindowFixture.h"
#include "app/QtSoundFileDialog.h"
#include "app/SoundCheckList.h"
#include "app/gVars.h"
#include "sounds/SoundLibrary.h"

#include <QFileDialog>
#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <QUrl>

using namespace gRegistry;

namespace {
const QString Overwrite = QStringLiteral(
    "The sound you try to import is already in the list!\r\nWould you like to overwrite it?");

QString makeFile(const QString& path, const QByteArray& content = "new")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot create %s", qPrintable(path));
    file.write(content);
    return path;
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList storedNames(SettingsStore& store)
{
    QStringList names;
    store.ReadSettingNames(SoundSelectionKey, names);
    names.sort();
    return names;
}

QStringList itemsOf(const QListWidget& list)
{
    QStringList items;
    for (int row = 0; row < list.count(); ++row)
        items << list.item(row)->text() + (list.item(row)->checkState() == Qt::Checked ? "+" : "");
    return items;
}

/// Drags the files onto the widget (the drag enters, then drops); true when it was accepted.
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
    void newSoundIsCopiedCheckedSelectedAndStored()
    {
        MainWindowFixture f;
        f.addSoundFile("zulu.wav");
        TfrmMain& w = f.open();
        const QString source = makeFile(f.env.root() + "/import/Alpha.wav", "alpha");
        w.soundLibrary().LoadSound(source);
        auto* list = f.find<QListWidget>("chklbSounds");
        QCOMPARE(itemsOf(*list), (QStringList{"Alpha.wav+", "zulu.wav"}));
        QCOMPARE(list->currentItem()->text(), QStringLiteral("Alpha.wav"));
        QCOMPARE(contentOf(SoundsFolder + "Alpha.wav"), QByteArray("alpha"));
        QCOMPARE(w.SelectedSounds(), QStringList{"Alpha.wav"});
        QCOMPARE(storedNames(*f.store), QStringList{"Alpha.wav"});
        QVERIFY(f.messages.shown.isEmpty());
    }

    void existingSoundIsReplacedOnlyAfterYes()
    {
        MainWindowFixture f;
        f.addSoundFile("a.wav");
        f.addSoundFile("siren.wav");
        TfrmMain& w = f.open();
        auto* list = f.find<QListWidget>("chklbSounds");
        const QString source = makeFile(f.env.root() + "/import/siren.wav", "louder");

        f.messages.answers = {false};
        w.soundLibrary().LoadSound(source);
        QCOMPARE(f.messages.shown, QStringList{Overwrite});
        QCOMPARE(contentOf(SoundsFolder + "siren.wav"), QByteArray());
        QCOMPARE(itemsOf(*list), (QStringList{"a.wav", "siren.wav"}));
        QCOMPARE(list->currentRow(), 0);

        f.messages.answers = {true};
        w.soundLibrary().LoadSound(source);
        QCOMPARE(f.messages.shown.size(), 2);
        QCOMPARE(contentOf(SoundsFolder + "siren.wav"), QByteArray("louder"));
        QCOMPARE(itemsOf(*list), (QStringList{"a.wav", "siren.wav+"}));
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(w.SelectedSounds(), QStringList{"siren.wav"});
    }

    void filesInTheDataFolderAreRefusedButLookalikeFoldersAreNot()
    {
        MainWindowFixture f;
        f.addSoundFile("kept.wav");
        TfrmMain& w = f.open();
        const QString refusal =
            "You cannot import already imported files.\r\n\r\nYou must browse outside the " +
            DataFolder + " working directory.\r\n\r\nThe file you are trying to import it resides "
                         "in the working directory mentioned above.";
        w.soundLibrary().LoadSound(SoundsFolder + "kept.wav");
        w.soundLibrary().LoadSound(makeFile(DataFolder + "deeper/below/other.wav"));
        QCOMPARE(f.messages.shown, (QStringList{refusal, refusal}));
        QVERIFY(!QFile::exists(SoundsFolder + "other.wav"));

        // A folder elsewhere whose path merely contains the data folder's text.
        f.messages.shown.clear();
        w.soundLibrary().LoadSound(makeFile(f.env.root() + "/backup" + DataFolder + "old.wav"));
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(itemsOf(*f.find<QListWidget>("chklbSounds")), (QStringList{"kept.wav", "old.wav+"}));
    }

    void failedCopyOrFolderImportsNothingSilently()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        const QString source = makeFile(f.env.root() + "/import/song.wav");
        // The sounds folder cannot be created where a file stands in its way.
        makeFile(SoundsFolder.chopped(1), "in the way");
        w.soundLibrary().LoadSound(source);
        QVERIFY(f.messages.shown.isEmpty());
        QVERIFY(w.SelectedSounds().isEmpty());

        // A folder of the sound's name makes the copy fail after the overwrite question.
        QVERIFY(QFile::remove(SoundsFolder.chopped(1)));
        QVERIFY(QDir().mkpath(SoundsFolder + "song.wav"));
        f.addSoundFile("other.wav");
        w.soundLibrary().FillSounds(QString());
        w.soundLibrary().LoadSound(source);
        QCOMPARE(f.messages.shown, QStringList{Overwrite});
        QVERIFY(QFileInfo(SoundsFolder + "song.wav").isDir());
        QVERIFY(w.SelectedSounds().isEmpty());
        QCOMPARE(f.find<QListWidget>("chklbSounds")->count(), 1);
    }

    void fileTheListCouldNeverShowIsRefusedWithAMessage()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        w.soundLibrary().LoadSound(makeFile(f.env.root() + "/import/bell.au"));
        QCOMPARE(f.messages.shown,
                 QStringList{"Only .wav and .mp3 files can be alarm sounds.\r\n\r\nbell.au was not imported."});
        QVERIFY(!QFile::exists(SoundsFolder + "bell.au"));
    }

    void dropImportsSoundsInOrderAndSkipsOtherFiles()
    {
        MainWindowFixture f;
        f.addSoundFile("two.mp3");
        f.open();
        auto* list = f.find<SoundCheckList>("chklbSounds");
        const QString dir = f.env.root() + "/drop/";
        f.messages.answers = {true};
        QVERIFY(drop(list->viewport(), {makeFile(dir + "readme.txt"), makeFile(dir + "ONE.WAV"),
                                        makeFile(dir + "two.mp3", "2")}));
        QCOMPARE(f.messages.shown, QStringList{Overwrite});
        QCOMPARE(itemsOf(*list), (QStringList{"ONE.WAV+", "two.mp3+"}));
        QCOMPARE(list->currentItem()->text(), QStringLiteral("two.mp3"));
        QCOMPARE(contentOf(SoundsFolder + "two.mp3"), QByteArray("2"));
        QVERIFY(!QFile::exists(SoundsFolder + "readme.txt"));
        QCOMPARE(storedNames(*f.store), (QStringList{"ONE.WAV", "two.mp3"}));
    }

    void onlyTheListAcceptsDroppedFiles()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        auto* list = f.find<QListWidget>("chklbSounds");
        QVERIFY(list->viewport()->acceptDrops());
        QMimeData text;
        text.setText("not a file");
        QDragEnterEvent textEnter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &textEnter);
        QVERIFY(!textEnter.isAccepted());
        QDragLeaveEvent leave;
        QApplication::sendEvent(list->viewport(), &leave);
        QVERIFY(!drop(f.find<QWidget>("pnlSoundsTitle"), {makeFile(f.env.root() + "/x.wav")}));
        QVERIFY(w.SelectedSounds().isEmpty());

        for (QWidget* widget : w.findChildren<QWidget*>())
            if (widget != list && widget != list->viewport())
                QVERIFY2(!widget->acceptDrops(), qPrintable(widget->objectName()));
        QVERIFY(!w.acceptDrops());
    }

    void addSoundOpensTheDialogAndImportsTheChoice()
    {
        MainWindowFixture f;
        TfrmMain& w = f.open();
        f.soundFiles.answers = {QString(), makeFile(f.env.root() + "/import/chime.mp3")};
        auto* add = f.find<QAction>("ActAddSound");
        add->trigger(); // cancelled
        QCOMPARE(f.soundFiles.opened, 1);
        QCOMPARE(f.find<QListWidget>("chklbSounds")->count(), 0);
        add->trigger();
        QCOMPARE(f.soundFiles.opened, 2);
        QCOMPARE(w.SelectedSounds(), QStringList{"chime.mp3"});
    }

    void dialogOffersTheThreeFiltersAndExistingFilesOnly()
    {
        MainWindowFixture f;
        QFileDialog dialog;
        QtSoundFileDialog::configure(dialog);
        QCOMPARE(dialog.nameFilters(), (QStringList{"All (*.wav *.mp3 *.au)", "Wave (*.wav)",
                                                    "Mpeg layer 3 (*.mp3)"}));
        QCOMPARE(dialog.selectedNameFilter(), QStringLiteral("All (*.wav *.mp3 *.au)"));
        QCOMPARE(dialog.defaultSuffix(), QStringLiteral("wav"));
        QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
    }

    void fullListRefusesEveryFurtherImport()
    {
        MainWindowFixture f;
        for (int i = 0; i < SoundLibrary::MaxSounds; ++i)
            f.addSoundFile(QStringLiteral("s%1.wav").arg(i));
        f.open();
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(f.find<QListWidget>("chklbSounds")->count(), SoundLibrary::MaxSounds);

        const QString limit = QStringLiteral("Maximum number of the allowed Alarm Sounds is: 9999");
        f.find<QAction>("ActAddSound")->trigger();
        QCOMPARE(f.messages.shown, QStringList{limit});
        QCOMPARE(f.soundFiles.opened, 0);

        const QString dir = f.env.root() + "/drop/";
        QVERIFY(drop(f.find<QListWidget>("chklbSounds")->viewport(),
                     {makeFile(dir + "skipped.txt"), makeFile(dir + "a.wav"), makeFile(dir + "b.wav")}));
        QCOMPARE(f.messages.shown, (QStringList{limit, limit}));
        QVERIFY(!QFile::exists(SoundsFolder + "a.wav"));
        QVERIFY(!QFile::exists(SoundsFolder + "b.wav"));
    }
};

QTEST_MAIN(SoundImportTest)
#include "test_sound_import.moc"
