// The disarm PIN's hash, the protection options as stored, and the changes the protection
// dialog may make to them.
#include "TempEnvironment.h"
#include "WeakPinHash.h"
#include "guard/GuardSettings.h"
#include "guard/Pin.h"
#include "guard/ProtectionChange.h"
#include "settings/gRegistry.h"

#include <QFile>
#include <QTest>
#include <sys/stat.h>

using gRegistry::GuardKey;

namespace {
unsigned fileMode(const QString& path)
{
    struct stat file;
    return ::stat(QFile::encodeName(path).constData(), &file) == 0 ? file.st_mode & 0777 : 0;
}
} // namespace

class PinProtectionTest : public QObject
{
    Q_OBJECT
private slots:
    void theHashHidesThePinAndVerifiesOnlyIt()
    {
        const QByteArray hash = Pin::hash(QStringLiteral("2468"));
        QVERIFY(hash.startsWith("$argon2id$"));
        QVERIFY(!hash.contains("2468"));
        // A fresh salt every time: the same PIN never gives the same string.
        QVERIFY(Pin::hash(QStringLiteral("2468")) != hash);
        QCOMPARE(Pin::verify(hash, QStringLiteral("2468")), Pin::Check::Right);
        QCOMPARE(Pin::verify(hash, QStringLiteral("2469")), Pin::Check::Wrong);
        QCOMPARE(Pin::verify(hash, QString()), Pin::Check::Wrong);
        QVERIFY(!Pin::needsRehash(hash));
        // Characters beyond ASCII are hashed as UTF-8, the same at every start.
        const QByteArray umlauts = Pin::hash(QStringLiteral("Grüße"));
        QCOMPARE(Pin::verify(umlauts, QStringLiteral("Grüße")), Pin::Check::Right);
        QCOMPARE(Pin::verify(umlauts, QStringLiteral("Grusse")), Pin::Check::Wrong);
    }

    void aDamagedHashStringMatchesNoPin_data()
    {
        QTest::addColumn<QByteArray>("hash");
        const QByteArray right = Pin::hash(QStringLiteral("2468"));
        QTest::newRow("truncated") << right.left(40);
        QTest::newRow("garbage") << QByteArray("not a hash at all");
        QTest::newRow("another algorithm") << QByteArray("$2y$10$abcdefghijklmnopqrstuu5Ul1lfPxkXN1F1wY7YlM0d2Pnu8.8aS");
        QTest::newRow("too long") << right + QByteArray(200, 'A');
        QTest::newRow("embedded nul") << right.left(20) + '\0' + right.mid(21);
    }
    void aDamagedHashStringMatchesNoPin()
    {
        QFETCH(QByteArray, hash);
        QCOMPARE(Pin::verify(hash, QStringLiteral("2468")), Pin::Check::Damaged);
        QVERIFY(!Pin::needsRehash(hash));
    }

    void aHashUnderWeakerLimitsVerifiesAndAsksForARehash()
    {
        const QByteArray weak = WeakPinHash(QStringLiteral("2468"));
        QVERIFY(!weak.isEmpty());
        QCOMPARE(Pin::verify(weak, QStringLiteral("2468")), Pin::Check::Right);
        QVERIFY(Pin::needsRehash(weak));
    }

    void storedOptionsRoundTripAndOutsideValuesAreBounded()
    {
        TempEnvironment env;
        SettingsStore store(env.settingsFile());
        GuardSettings none = GuardSettings::read(store);
        QVERIFY(none.pinHash.isEmpty());
        QVERIFY(!none.keepSpeakersOn);
        QCOMPARE(none.speakerVolume, 100);

        store.WriteSetting(GuardKey, "SpeakerVolume", "400");
        QCOMPARE(GuardSettings::read(store).speakerVolume, 150);
        store.WriteSetting(GuardKey, "SpeakerVolume", "0");
        QCOMPARE(GuardSettings::read(store).speakerVolume, 1);
        store.WriteSetting(GuardKey, "SpeakerVolume", "loud");
        QCOMPARE(GuardSettings::read(store).speakerVolume, 100);
        store.WriteSetting(GuardKey, "KeepSpeakersOn", "yes"); // only "T" is set, like the switches
        QVERIFY(!GuardSettings::read(store).keepSpeakersOn);

        GuardSettings set{Pin::hash(QStringLiteral("2468")), true, 80};
        set.write(store);
        QVERIFY(store.flush());
        SettingsStore reread(env.settingsFile());
        const GuardSettings back = GuardSettings::read(reread);
        QCOMPARE(back.pinHash, set.pinHash);
        QVERIFY(back.keepSpeakersOn);
        QCOMPARE(back.speakerVolume, 80);
        QCOMPARE(reread.ReadSetting(GuardKey, "KeepSpeakersOn"), QStringLiteral("T"));
        // The file holds the hash: readable by its owner alone.
        QCOMPARE(fileMode(env.settingsFile()), 0600u);

        // Opened to others from outside, it is private again at the next write.
        QFile::setPermissions(env.settingsFile(), QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ReadGroup | QFile::ReadOther);
        GuardSettings{}.write(reread);
        QVERIFY(reread.flush());
        QCOMPARE(fileMode(env.settingsFile()), 0600u);
        QCOMPARE(reread.ReadSetting(GuardKey, "PinHash"), QString());
        QCOMPARE(reread.ReadSetting(GuardKey, "KeepSpeakersOn"), QString());
    }

    void theDialogsChangeNeedsTheOldPinAndAWellFormedNewOne()
    {
        GuardSettings settings;
        // No PIN yet: a new one needs no old one, but a length in bounds and its repetition.
        QCOMPARE(ApplyProtectionChange(settings, {.newPin = "123", .repeatedPin = "123"}),
                 ProtectionVerdict::PinLength);
        QCOMPARE(ApplyProtectionChange(settings, {.newPin = QString(33, 'x'), .repeatedPin = QString(33, 'x')}),
                 ProtectionVerdict::PinLength);
        QCOMPARE(ApplyProtectionChange(settings, {.newPin = "1234", .repeatedPin = "1243"}),
                 ProtectionVerdict::PinsDiffer);
        QVERIFY(settings.pinHash.isEmpty());
        QCOMPARE(ApplyProtectionChange(settings, {.newPin = "1234", .repeatedPin = "1234", .speakerVolume = 120}),
                 ProtectionVerdict::Saved);
        QCOMPARE(Pin::verify(settings.pinHash, "1234"), Pin::Check::Right);
        QCOMPARE(settings.speakerVolume, 120);

        // Set: changing or removing it takes the current one; a refusal changes nothing at all.
        const QByteArray first = settings.pinHash;
        QCOMPARE(ApplyProtectionChange(settings, {.currentPin = "9999", .newPin = "5678", .repeatedPin = "5678",
                                                  .keepSpeakersOn = true}),
                 ProtectionVerdict::WrongCurrentPin);
        QCOMPARE(ApplyProtectionChange(settings, {.currentPin = "9999", .removePin = true}),
                 ProtectionVerdict::WrongCurrentPin);
        QCOMPARE(settings.pinHash, first);
        QVERIFY(!settings.keepSpeakersOn);
        // The other options change without the PIN.
        QCOMPARE(ApplyProtectionChange(settings, {.keepSpeakersOn = true, .speakerVolume = 150}),
                 ProtectionVerdict::Saved);
        QCOMPARE(settings.pinHash, first);
        QVERIFY(settings.keepSpeakersOn);
        QCOMPARE(ApplyProtectionChange(settings, {.currentPin = "1234", .newPin = "5678", .repeatedPin = "5678",
                                                  .keepSpeakersOn = true}),
                 ProtectionVerdict::Saved);
        QCOMPARE(Pin::verify(settings.pinHash, "5678"), Pin::Check::Right);
        QCOMPARE(ApplyProtectionChange(settings, {.currentPin = "5678", .removePin = true, .keepSpeakersOn = true}),
                 ProtectionVerdict::Saved);
        QVERIFY(settings.pinHash.isEmpty());
    }
};

QTEST_GUILESS_MAIN(PinProtectionTest)
#include "test_pin_protection.moc"
