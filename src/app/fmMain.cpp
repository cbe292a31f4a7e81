#include "fmMain.h"

#include "ControlStates.h"
#include "alarm/AlarmController.h"
#include "alarm/AlarmSimulation.h"
#include "alarm/AutostartEntry.h"
#include "alarm/TaskQueue.h"
#include "audio/AlarmPlayback.h"
#include "audio/AudioDevices.h"
#include "gVars.h"
#include "report/ReportLog.h"
#include "settings/TunableSettings.h"
#include "settings/TunableSpinBox.h"
#include "sounds/SoundLibrary.h"
#include "sounds/SoundSelection.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>

TfrmMain::TfrmMain(const MainServices& services, QWidget* parent)
    : QMainWindow(parent), m_services(services)
{
    setObjectName(QStringLiteral("frmMain"));
    buildLayout();
    buildMenus();
    m_tunables = std::make_unique<TunableSettings>(m_services.store, *this);
    connectTunables();
    FormCreate();
    // The window sees every key before the focused control does.
    qApp->installEventFilter(this);
}

TfrmMain::~TfrmMain()
{
    qApp->removeEventFilter(this);
}

void TfrmMain::FormCreate()
{
    setWindowTitle(QStringLiteral("Ostrel"));
    QApplication::setApplicationDisplayName(QString());
    QApplication::setApplicationName(QStringLiteral("Ostrel"));
    if (!startAudioDevices()) {
        m_creationFailed = true;
        return;
    }
    chooseRecordingInput();

    m_report = std::make_unique<ReportLog>(m_services.clock, ReportsFolder, m_services.timeSeparator);
    m_report->loadFile();
    m_switches.readFrom(m_services.store);
    createSoundSelection();
    m_tunables->LoadResetableSettings();
    m_playback = m_services.makePlayback(*this);
    createAlarmControl();
    createSoundLibrary();
    m_soundLibrary->FillSounds(QString());
    showSwitchesAndStartPlayerLoop();
    setUpSystemVolumePanel();
}

int TfrmMain::value(Tunable id) const
{
    QWidget* widget = m_tunableWidgets.at(id);
    if (auto* slider = qobject_cast<QSlider*>(widget))
        return slider->value();
    return static_cast<TunableSpinBox*>(widget)->value();
}

void TfrmMain::setValue(Tunable id, int value)
{
    QWidget* widget = m_tunableWidgets.at(id);
    if (auto* slider = qobject_cast<QSlider*>(widget))
        slider->setValue(value);
    else
        static_cast<TunableSpinBox*>(widget)->setValue(value);
}

void TfrmMain::connectTunables()
{
    for (const auto& [id, widget] : m_tunableWidgets) {
        if (auto* slider = qobject_cast<QSlider*>(widget)) {
            // trkTrackChange: store the position and show it as the slider's hint.
            connect(slider, &QSlider::valueChanged, this, [this, id = id, slider](int position) {
                m_tunables->valueChanged(id, position);
                if (id != Tunable::trkMicSensivity)
                    slider->setToolTip(QString::number(position));
            });
        } else {
            // spnSpinChange: store the value; the hint stays as it is.
            connect(static_cast<TunableSpinBox*>(widget), &TunableSpinBox::valueChanged, this,
                    [this, id = id](int value) { m_tunables->valueChanged(id, value); });
        }
    }
}

void TfrmMain::mnuResetSettingToDefaultClick()
{
    m_tunables->ResetToDefaults();
}

void TfrmMain::KeyState()
{
    auto* sounds = findChild<QListWidget*>(QStringLiteral("chklbSounds"));
    const ControlStates states = DeriveControlStates({
        .armed = m_switches.isOn(Switch::ActActivateToggle),
        .anyDetectorOn = m_switches.isOn(Switch::ActMicDetectToggle) ||
                         m_switches.isOn(Switch::ActMouDetectToggle) ||
                         m_switches.isOn(Switch::ActSimToggle),
        .selectedSounds = int(m_selectedSounds.size()),
        .listed = sounds->count() > 0,
        .itemSelected = sounds->currentRow() >= 0,
    });
    const auto enable = [this](const char* name, bool enabled) {
        findChild<QObject*>(QString::fromLatin1(name))->setProperty("enabled", enabled);
    };
    for (const char* name : {"ActMicDetectToggle", "ActMouDetectToggle", "ActSimToggle"})
        enable(name, states.detectorSwitches);
    enable("ActViewReport", states.viewReport);
    enable("ActActivateToggle", states.activateToggle);
    enable("chklbSounds", states.soundList);
    for (const char* name : {"ActChkLbAlarmSndChecktAll", "ActChkLbAlarmSndUnCheckAll",
                             "ActChkLbAlarmSndCheckInverse"})
        enable(name, states.checkCommands);
    enable("ActAddSound", states.addSound);
    enable("ActRemoveSound", states.removeSound);
    for (const char* name : {"btnFrontLeft", "btnFrontCenter", "btnFrontRight"})
        enable(name, states.speakerTest);
    enable("btnTestStop", states.testStop);
}

void TfrmMain::restoreApp()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    // A key event travels from the focused control up its parents: take it at its first stop.
    QWidget* firstStop = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    if (event->type() == QEvent::KeyRelease && watched == firstStop && firstStop->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat())
            emit keyReleased(key->key());
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // Closing is never refused, armed or not.
    FormClose();
    event->accept();
    // The audio devices go last, when nothing can use them any more.
    m_audioDevices->release();
}
