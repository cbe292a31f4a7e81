#include "Startup.h"

#include "MainLogic.h"
#include "QtMessageBoxes.h"
#include "audio/AlarmSoundPlayer.h"
#include "DesktopUrlOpener.h"
#include "core/Clock.h"
#include "core/Product.h"
#include "core/QtTimerEngine.h"
#include "core/Random.h"
#include "fmMain.h"
#include "fmThanx.h"
#include "gUtils.h"
#include "gVars.h"
#include "platform/AudioBackendChoice.h"
#include "platform/NetworkAlertTransport.h"
#include "platform/SingleInstance.h"
#include "platform/SystemPrograms.h"
#include "platform/TerminationSignals.h"
#include "platform/X11PointerSource.h"
#include "platform/XdgAutostart.h"
#include "report/ReportLog.h"
#include "settings/gRegistry.h"
#include "sounds/QtSoundFileDialog.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QProxyStyle>

namespace {
/// Hints show after 500 ms; moving on to the next control while one shows is almost instant.
class HintTimingStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return 500;
        if (hint == SH_ToolTip_FallAsleepDelay)
            return 3000;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

constexpr int HintHidePauseMs = 3000;

/// A hint stays HintHidePauseMs, however long its text: each widget learns so at its first hint.
class HintDuration : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip)
            if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->toolTipDuration() < 0)
                widget->setToolTipDuration(HintHidePauseMs);
        return false;
    }
};
} // namespace

int RunOstrel(int argc, char** argv)
{
    // A second start only wakes the first: it touches no setting and no folder.
    SingleInstance instance(SingleInstanceFolder());
    if (!instance.claim()) {
        instance.wakeRunning();
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(Product::Name);
    QApplication::setApplicationDisplayName(QString());
    // Lets the desktop match the windows to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(Product::ApplicationId);
    QApplication::setStyle(new HintTimingStyle);
    // The installed icon, which an icon theme may restyle; the built-in drawing where none is.
    QApplication::setWindowIcon(
        QIcon::fromTheme(Product::ApplicationId, QIcon(QStringLiteral(":/program/ostrel.svg"))));
    app.installEventFilter(new HintDuration(&app));
    instance.listen();
    QtMessageBoxes messages;
    QtSoundFileDialog soundFiles;

    const QString appData = GetAppDataFolder();
    SetFolderGlobals(QCoreApplication::applicationFilePath(), appData);
    if (appData.isEmpty() || !QDir().mkpath(DataFolder)) {
        messages.message(QStringLiteral("Cannot establish Roaming Application Data folder!"));
        return 1;
    }

    SettingsStore store(SettingsFilePath());
    store.WriteSetting(gRegistry::LocationKey, QStringLiteral("ProgramLocation"),
                       QCoreApplication::applicationFilePath());

    SystemClock clock;
    QtTimerEngine timers;
    SeededRandom random(static_cast<unsigned>(clock.now().toMSecsSinceEpoch()));
    const std::unique_ptr<AudioBackend> audio = OpenAudioBackend();
    const auto makePlayback = [&](const TunableValues& tunables) {
        return std::make_unique<AlarmSoundPlayer>(*audio, tunables, random);
    };
    XdgAutostart autostart(QCoreApplication::applicationFilePath());
    // The pointer and the keyboard of the desktop, on one connection.
    X11PointerSource desktopInput;
    DesktopUrlOpener urls;
    SystemPrograms programs;
    TfrmMain window;
    MainLogic logic(MainServices{store, clock, timers, random, messages, LocaleTimeSeparator(),
                                 makePlayback, soundFiles, *audio, autostart, desktopInput,
                                 desktopInput, urls, programs,
                                 [] { return std::make_unique<NetworkAlertTransport>(); }},
                    window);
    // Unusable audio devices end the program before its window is ever shown.
    if (!window.create(logic))
        return 0;
    // The first-run greeting comes after the window's creation and before it shows.
    TfrmThanx::ShowThanx(store, gRegistry::StateKey, QStringLiteral("MsgThanx"), Product::Name);
    messages.setOwner(&window);
    soundFiles.setOwner(&window);
    QObject::connect(&instance, &SingleInstance::restoreRequested, &window, &TfrmMain::restoreApp);
    // Asked to end by a signal (a logout, kill, Ctrl+C), the program ends as if closed, so its
    // teardown runs and its settings reach the file.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window, [&] {
        logic.terminationRequested();
        window.close();
        QCoreApplication::quit();
    });

    window.show();
    // Without a window manager nothing else would make the new window the active one.
    window.activateWindow();
    return app.exec();
}
