#include "FileSizeLimit.h"
#include "TempEnvironment.h"
#include "settings/gRegistry.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QTest>

using namespace gRegistry;

class SettingsStoreTest : public QObject
{
    Q_OBJECT
private slots:
    void valuesSurviveAReopenUnderDeepNewKeys()
    {
        TempEnvironment env;
        {
            SettingsStore store(env.settingsFile());
            store.WriteSetting(QStringLiteral("\\A\\B\\C\\D"), QStringLiteral("v"), QStringLiteral("deep"));
            store.WriteSetting(StateKey, QStringLiteral("Alarm Active"), QStringLiteral("T"));
        }
        SettingsStore reopened(env.settingsFile());
        QCOMPARE(reopened.ReadSetting(QStringLiteral("\\A\\B\\C\\D"), QStringLiteral("v")),
                 QStringLiteral("deep"));
        QCOMPARE(reopened.ReadSetting(StateKey, QStringLiteral("Alarm Active")), QStringLiteral("T"));
    }

    void missingAndEmptyValuesReadAsEmpty()
    {
        TempEnvironment env;
        SettingsStore store(env.settingsFile());
        QCOMPARE(store.ReadSetting(StateKey, QStringLiteral("never")), QString());
        store.WriteSetting(StateKey, QStringLiteral("blank"), QString());
        QCOMPARE(store.ReadSetting(StateKey, QStringLiteral("blank")), QString());
        QVERIFY(!store.DeleteSetting(StateKey, QStringLiteral("never")));
        QVERIFY(store.DeleteSetting(StateKey, QStringLiteral("blank")));
        QCOMPARE(store.ReadSetting(StateKey, QStringLiteral("blank")), QString());
    }

    void writeReplacesAndTextStopsAtNul()
    {
        TempEnvironment env;
        SettingsStore store(env.settingsFile());
        store.WriteSetting(TuningKey, QStringLiteral("frmMaintrkAlarmVolume"), QStringLiteral("50"));
        store.WriteSetting(TuningKey, QStringLiteral("frmMaintrkAlarmVolume"), QStringLiteral("-7"));
        QCOMPARE(store.ReadSetting(TuningKey, QStringLiteral("frmMaintrkAlarmVolume")), QStringLiteral("-7"));
        store.WriteSetting(TuningKey, QStringLiteral("x"), QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"));
        QCOMPARE(store.ReadSetting(TuningKey, QStringLiteral("x")), QStringLiteral("ab"));
    }

    void deletingAKeyTakesEverythingBelowAndLeavesSiblings()
    {
        TempEnvironment env;
        SettingsStore store(env.settingsFile());
        store.WriteSetting(StateKey, QStringLiteral("ActSimToggle"), QStringLiteral("T"));
        store.WriteSetting(TuningKey, QStringLiteral("frmMainspnTriggerDelay"), QStringLiteral("3"));
        store.WriteSetting(SoundSelectionKey, QStringLiteral("a.wav"), QStringLiteral("T"));
        store.WriteSetting(SoundSelectionKey + QStringLiteral("\\deeper"), QStringLiteral("b"), QStringLiteral("T"));
        store.WriteSetting(QStringLiteral("\\SoftWare\\Quillmere\\Ostrel\\S\\sndx"), QStringLiteral("c"), QStringLiteral("T"));

        QVERIFY(store.DeleteSettingsKey(SoundSelectionKey));
        QStringList names{QStringLiteral("stale")};
        QVERIFY(store.ReadSettingNames(SoundSelectionKey, names));
        QVERIFY(names.isEmpty());
        QCOMPARE(store.ReadSetting(SoundSelectionKey + QStringLiteral("\\deeper"), QStringLiteral("b")), QString());
        // A sibling whose name merely starts the same way stays.
        QCOMPARE(store.ReadSetting(QStringLiteral("\\SoftWare\\Quillmere\\Ostrel\\S\\sndx"), QStringLiteral("c")),
                 QStringLiteral("T"));
        QCOMPARE(store.ReadSetting(StateKey, QStringLiteral("ActSimToggle")), QStringLiteral("T"));
        QCOMPARE(store.ReadSetting(TuningKey, QStringLiteral("frmMainspnTriggerDelay")), QStringLiteral("3"));

        QVERIFY(!store.DeleteSettingsKey(SoundSelectionKey));
        QVERIFY(!store.DeleteSettingsKey(QStringLiteral("\\No\\Such\\Key")));
    }

    void oddValueNamesRoundTripExactly()
    {
        const QStringList names{
            QStringLiteral("back\\slash.wav"), QStringLiteral("a=b.mp3"), QStringLiteral("100%.wav"),
            QStringLiteral("\"quoted\" 'name'.wav"), QStringLiteral("  spaced  out .mp3"),
            QStringLiteral("Grüße ñ 日本.wav"), QStringLiteral("semi;colon,comma.wav"),
            QStringLiteral("#hash[x]@at.mp3"), QStringLiteral("slash/like.wav"),
            QStringLiteral("Case.wav"), QStringLiteral("case.wav"), QStringLiteral("%41.wav")};
        TempEnvironment env;
        {
            SettingsStore store(env.settingsFile());
            for (const QString& name : names)
                store.WriteSetting(SoundSelectionKey, name, QStringLiteral("T"));
        }
        SettingsStore store(env.settingsFile());
        QStringList read;
        store.ReadSettingNames(SoundSelectionKey, read);
        QStringList expected = names;
        expected.sort();
        read.sort();
        QCOMPARE(read, expected);
        for (const QString& name : names)
            QCOMPARE(store.ReadSetting(SoundSelectionKey, name), QStringLiteral("T"));
    }

    void valuesOfAnyTextRoundTripExactly()
    {
        // Quotes, backslashes, a leading '@', commas, control characters with hex digits after
        // them, lone surrogate halves and text beyond the BMP; NUL ends a text and is left out.
        QStringList values{QStringLiteral("@Variant(x)"), QStringLiteral("a,b"), QStringLiteral(" lead"),
                           QStringLiteral("\\x41\""), QString(QChar(1)) + QStringLiteral("1f"),
                           QString(QChar(0xD800)) + QStringLiteral("A"), QStringLiteral("😀"), QString()};
        QRandomGenerator random(7);
        for (int i = 0; i < 200; ++i) {
            QString value;
            for (int n = int(random.bounded(12)); n > 0; --n)
                value += QChar(char16_t(random.bounded(2) ? random.bounded(1, 0x80) : random.bounded(1, 0x10000)));
            values << value;
        }
        TempEnvironment env;
        {
            SettingsStore store(env.settingsFile());
            for (qsizetype i = 0; i < values.size(); ++i)
                store.WriteSetting(TuningKey, QString::number(i), values[i]);
        }
        SettingsStore reopened(env.settingsFile());
        for (qsizetype i = 0; i < values.size(); ++i)
            QCOMPARE(reopened.ReadSetting(TuningKey, QString::number(i)), values[i]);
    }

    void aFileWrittenByEarlierVersionsIsStillRead()
    {
        TempEnvironment env;
        {
            // Names percent-encoded except for spaces, then set through QSettings.
            QSettings earlier(env.settingsFile(), QSettings::IniFormat);
            earlier.setValue(QStringLiteral("SoftWare/Quillmere/Ostrel/S/Alarm Active"), QStringLiteral("T"));
            earlier.setValue(QStringLiteral("SoftWare/Quillmere/Ostrel/S/snd/a%2Fb%2Cc.wav"), QStringLiteral("x, \"y\""));
            earlier.setValue(QStringLiteral("SoftWare/Quillmere/Ostrel/V/Path"), QStringLiteral("@home"));
        }
        SettingsStore store(env.settingsFile());
        QCOMPARE(store.ReadSetting(StateKey, QStringLiteral("Alarm Active")), QStringLiteral("T"));
        QCOMPARE(store.ReadSetting(SoundSelectionKey, QStringLiteral("a/b,c.wav")), QStringLiteral("x, \"y\""));
        QCOMPARE(store.ReadSetting(LocationKey, QStringLiteral("Path")), QStringLiteral("@home"));
    }

    void fullDiskKeepsTheOldFileAndTheChangeIsWrittenNextTime()
    {
        TempEnvironment env;
        SettingsStore store(env.settingsFile());
        store.WriteSetting(StateKey, QStringLiteral("Alarm Active"), QStringLiteral("F"));
        QVERIFY(store.flush());
        QFile file(env.settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        {
            FileSizeLimit full(0); // every write fails, as on a full disk
            store.WriteSetting(StateKey, QStringLiteral("Alarm Active"), QStringLiteral("T"));
            store.WriteSetting(TuningKey, QStringLiteral("frmMainspnTriggerDelay"), QStringLiteral("30"));
            QVERIFY(!store.flush());
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        file.close();
        QCOMPARE(store.ReadSetting(StateKey, QStringLiteral("Alarm Active")), QStringLiteral("T"));

        store.WriteSetting(TuningKey, QStringLiteral("frmMaintrkAlarmVolume"), QStringLiteral("80"));
        QTRY_COMPARE(SettingsStore(env.settingsFile()).ReadSetting(StateKey, QStringLiteral("Alarm Active")),
                     QStringLiteral("T"));
        SettingsStore reopened(env.settingsFile());
        QCOMPARE(reopened.ReadSetting(TuningKey, QStringLiteral("frmMainspnTriggerDelay")), QStringLiteral("30"));
        QCOMPARE(reopened.ReadSetting(TuningKey, QStringLiteral("frmMaintrkAlarmVolume")), QStringLiteral("80"));
    }

    void garbageOrTruncatedFileIsReadAsFarAsPossible_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe[[[\n=\n\x01\x02garbage=\n", 20);
        QTest::newRow("truncated") << QByteArray("[SoftWare]\nQuillmere%2FOstrel%2FS%2FActSimT");
        QTest::newRow("unbalanced") << QByteArray("[SoftWare/Quillmere\n\"=\"\"\n@Variant(\n");
    }

    void garbageOrTruncatedFileIsReadAsFarAsPossible()
    {
        QFETCH(QByteArray, content);
        TempEnvironment env;
        {
            QDir().mkpath(QFileInfo(env.settingsFile()).path());
            QFile file(env.settingsFile());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        {
            SettingsStore store(env.settingsFile());
            store.ReadSetting(StateKey, QStringLiteral("Alarm Active"));
            QStringList names;
            store.ReadSettingNames(SoundSelectionKey, names);
            store.WriteSetting(StateKey, QStringLiteral("ActSimToggle"), QStringLiteral("T"));
            QCOMPARE(store.ReadSetting(StateKey, QStringLiteral("ActSimToggle")), QStringLiteral("T"));
        }
        SettingsStore reopened(env.settingsFile());
        QCOMPARE(reopened.ReadSetting(StateKey, QStringLiteral("ActSimToggle")), QStringLiteral("T"));
    }

    void valuesBeforeTheDamageAreStillRead()
    {
        TempEnvironment env;
        {
            SettingsStore store(env.settingsFile());
            store.WriteSetting(StateKey, QStringLiteral("Alarm Active"), QStringLiteral("T"));
            store.WriteSetting(TuningKey, QStringLiteral("frmMaintrkAlarmVolume"), QStringLiteral("80"));
        }
        QFile file(env.settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray damaged = file.readAll();
        file.close();
        damaged.chop(3); // cut into the last value
        damaged += QByteArray("\n\x00\xff[[broken\n=\n", 14);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(damaged);
        file.close();

        SettingsStore store(env.settingsFile());
        QCOMPARE(store.ReadSetting(StateKey, QStringLiteral("Alarm Active")), QStringLiteral("T"));
    }

    void unwritableLocationFailsSilently()
    {
        TempEnvironment env;
        QFile blocker(env.root() + QStringLiteral("/notafolder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SettingsStore store(env.root() + QStringLiteral("/notafolder/Ostrel.ini"));
        store.WriteSetting(StateKey, QStringLiteral("v"), QStringLiteral("T"));
        store.flush();
        QVERIFY(!QFile::exists(env.root() + QStringLiteral("/notafolder/Ostrel.ini")));
        QCOMPARE(store.ReadSetting(StateKey, QStringLiteral("v")), QStringLiteral("T"));
    }
};

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "test_settings_store.moc"
