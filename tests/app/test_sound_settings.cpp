#include "FakeProgramLauncher.h"
#include "app/SoundSettings.h"

#include <QTest>

using Command = std::optional<ProgramCommand>;
Q_DECLARE_METATYPE(Command)

class SoundSettingsTest : public QObject
{
    Q_OBJECT
private slots:
    void theToolIsPavucontrolOrTheDesktopsOwn_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("desktops");
        QTest::addColumn<SoundDevices>("devices");
        QTest::addColumn<Command>("expected");
        const ProgramCommand gnome{"gnome-control-center", {"sound"}};
        const ProgramCommand plasma{"systemsettings", {"kcm_pulseaudio"}};
        QTest::newRow("pavucontrol, outputs, whatever the desktop")
            << QStringList{"pavucontrol", "gnome-control-center"} << "GNOME" << SoundDevices::Playback
            << Command(ProgramCommand{"pavucontrol", {"--tab=3"}});
        QTest::newRow("pavucontrol, inputs") << QStringList{"pavucontrol"} << "" << SoundDevices::Recording
                                              << Command(ProgramCommand{"pavucontrol", {"--tab=4"}});
        QTest::newRow("GNOME after a name we do not know")
            << QStringList{"gnome-control-center"} << "ubuntu:GNOME" << SoundDevices::Playback << Command(gnome);
        QTest::newRow("KDE, any case") << QStringList{"systemsettings"} << "kde" << SoundDevices::Recording
                                       << Command(plasma);
        QTest::newRow("MATE inputs") << QStringList{"mate-volume-control"} << "MATE" << SoundDevices::Recording
                                     << Command(ProgramCommand{"mate-volume-control", {"--page=input"}});
        QTest::newRow("the first desktop's tool is missing")
            << QStringList{"systemsettings"} << "GNOME:KDE" << SoundDevices::Playback << Command(plasma);
        QTest::newRow("a desktop without its tool") << QStringList{} << "GNOME" << SoundDevices::Playback
                                                    << Command();
        QTest::newRow("no desktop named") << QStringList{"gnome-control-center"} << "" << SoundDevices::Playback
                                          << Command();
    }

    void theToolIsPavucontrolOrTheDesktopsOwn()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, desktops);
        QFETCH(SoundDevices, devices);
        QFETCH(Command, expected);
        FakeProgramLauncher launcher;
        launcher.installed = installed;
        QCOMPARE(SoundSettingsCommand(devices, desktops, launcher), expected);
        OpenSoundSettings(launcher, devices, desktops);
        QCOMPARE(launcher.started, expected ? QList<ProgramCommand>{*expected} : QList<ProgramCommand>{});
    }
};

QTEST_GUILESS_MAIN(SoundSettingsTest)
#include "test_sound_settings.moc"
