// The main window: its creation, its events, and the wiring of its controls to the logic.
#include "fmMain.h"

#include "MainLogic.h"
#include "alarm/AlarmController.h"
#include "alarm/AlarmSimulation.h"
#include "audio/AlarmPlayback.h"
#include "audio/RecordingControl.h"
#include "audio/RecordingInput.h"
#include "core/Product.h"
#include "detect/KeyboardDetector.h"
#include "detect/MouseDetector.h"
#include "report/ReportLog.h"
#include "report/fmReport.h"
#include "settings/TunableSettings.h"
#include "settings/TunableSpinBox.h"
#include "sounds/SoundCheckList.h"
#include "sounds/SoundLibrary.h"
#include "sounds/SoundSelection.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QMenu>
#include <QPushButton>
#include <QSlider>

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(Product::Name);
    buildLayout();
    buildMenus();
    // The window sees every key before the focused control does.
    qApp->installEventFilter(this);
}

TfrmMain::~TfrmMain()
{
    qApp->removeEventFilter(this);
}

bool TfrmMain::create(MainLogic& logic)
{
    m_logic = &logic;
    connectSwitches();
    connectTunables();
    connectSoundList();
    connectSpeakerTest();
    connectLinks();
    connectProtection();
    connect(m_ui.btnSysVolumeControl, &QPushButton::clicked, &logic,
            [&logic] { logic.openSoundSettings(SoundDevices::Playback); });
    connect(m_ui.btnSysRecordingControl, &QPushButton::clicked, &logic,
            [&logic] { logic.openSoundSettings(SoundDevices::Recording); });
    connect(m_ui.cmbRecSource, &QComboBox::activated, &logic,
            [&logic](int index) { logic.recordingInput().select(index); });
    return logic.FormCreate();
}

void TfrmMain::connectSwitches()
{
    MainLogic& logic = *m_logic;
    const auto onTrigger = [&logic](QAction* action, auto handler) {
        connect(action, &QAction::triggered, &logic, handler);
    };
    onTrigger(m_ui.ActMicDetectToggle,
              [&logic] { logic.recordingControl().ActMicDetectToggleExecute(); });
    onTrigger(m_ui.ActMouDetectToggle, [&logic] { logic.mouse().ActMouDetectToggleExecute(); });
    onTrigger(m_ui.ActSimToggle, [&logic] { logic.simulation().ActSimToggleExecute(); });
    onTrigger(m_ui.ActKeyDetectToggle, [&logic] { logic.keyboard().ActKeyDetectToggleExecute(); });
    onTrigger(m_ui.ActActivateToggle, [&logic] { logic.controller().ActActivateToggleExecute(); });
    onTrigger(m_ui.ActViewReport, [this, &logic] {
        TfrmReport::ShowReport(logic.messages(), logic.report().filePath(), this);
    });
    connect(this, &TfrmMain::keyReleased, &logic,
            [&logic](int key) { logic.controller().FormKeyUp(key); });
}

void TfrmMain::connectTunables()
{
    MainLogic& logic = *m_logic;
    // trkTrackChange: store the position and show it as the slider's hint.
    for (const auto& [id, slider] : m_ui.sliders) {
        connect(slider, &QSlider::valueChanged, &logic,
                [&logic, id = id, slider = slider](int position) {
                    logic.tunables().valueChanged(id, position);
                    if (id == Tunable::trkMicSensivity)
                        logic.recordingInput().trkMicSensivityChange(position);
                    slider->setToolTip(QString::number(position));
                });
    }
    // spnSpinChange: store the value; the hint stays as it is.
    for (const auto& [id, spin] : m_ui.spinBoxes)
        connect(spin, &TunableSpinBox::valueChanged, &logic,
                [&logic, id = id](int value) { logic.tunables().valueChanged(id, value); });
    connect(m_ui.mnuResetSettingToDefault, &QAction::triggered, &logic,
            [&logic] { logic.tunables().ResetToDefaults(); });
}

void TfrmMain::connectSoundList()
{
    MainLogic& logic = *m_logic;
    SoundCheckList* list = m_ui.chklbSounds;
    list->bind(logic.soundList());
    connect(m_ui.ActAddSound, &QAction::triggered, &logic,
            [&logic] { logic.soundLibrary().ActAddSoundExecute(); });
    connect(m_ui.ActRemoveSound, &QAction::triggered, &logic,
            [&logic] { logic.soundLibrary().ActRemoveSoundExecute(); });
    for (const auto& [action, mode] :
         {std::pair{m_ui.ActChkLbAlarmSndChecktAll, CheckMode::CheckAll},
          std::pair{m_ui.ActChkLbAlarmSndCheckInverse, CheckMode::CheckInverse},
          std::pair{m_ui.ActChkLbAlarmSndUnCheckAll, CheckMode::UncheckAll}})
        connect(action, &QAction::triggered, &logic,
                [&logic, mode = mode] { logic.soundSelection().CheckingCheckList(mode); });

    const auto recreate = [&logic] { logic.soundSelection().RecreateSoundList(); };
    connect(list, &SoundCheckList::userChanged, &logic, recreate);
    connect(list, &SoundCheckList::characterTyped, &logic, recreate);
    connect(list, &SoundCheckList::keyUp, this, [this](int key) {
        QAction* keyAction = key == Qt::Key_Delete   ? m_ui.ActRemoveSound
                             : key == Qt::Key_Insert ? m_ui.ActAddSound
                                                     : nullptr;
        if (keyAction && keyAction->isEnabled())
            keyAction->trigger();
    });
    // Imports ask questions: they run once the drop itself has finished.
    connect(
        list, &SoundCheckList::filesDropped, &logic,
        [&logic](const QStringList& paths) {
            logic.soundLibrary().DropFileTargetSoundsDrop(paths);
        },
        Qt::QueuedConnection);
}

void TfrmMain::connectSpeakerTest()
{
    MainLogic& logic = *m_logic;
    for (const auto& [button, pan] :
         {std::pair{m_ui.btnFrontLeft, PanLeft}, std::pair{m_ui.btnFrontCenter, PanCentre},
          std::pair{m_ui.btnFrontRight, PanRight}})
        connect(button, &QPushButton::clicked, &logic,
                [&logic, pan = pan] { logic.soundLibrary().testPlay(pan); });
    connect(m_ui.btnTestStop, &QPushButton::clicked, &logic,
            [&logic] { logic.playback().StopSounds(); });
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
    // The header picture is a link to the product page.
    if (watched == m_ui.Image1 && event->type() == QEvent::MouseButtonRelease && m_logic &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        m_logic->openLink(WebLink::ProductPage);
    // A key event travels from the focused control up its parents: take it at its first stop.
    QWidget* firstStop = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    if (event->type() == QEvent::KeyRelease && watched == firstStop && firstStop->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat())
            emit keyReleased(key->key());
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_logic)
        m_logic->FormActivate();
    QMainWindow::changeEvent(event);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // Armed with a PIN, the window closes only after the PIN; otherwise closing is never refused.
    if (m_logic && m_logic->closeNeedsPin()) {
        event->ignore();
        m_logic->askPinToClose([this] { close(); });
        return;
    }
    if (m_logic)
        m_logic->FormClose();
    event->accept();
}
