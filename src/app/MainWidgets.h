#pragma once

#include "app/WebLinks.h"
#include "core/Lamps.h"
#include "settings/Tunables.h"

#include <map>
#include <utility>
#include <vector>

class LedLamp;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QSlider;
class QToolButton;
class SoundCheckList;
class TunableSpinBox;

/// The main window's controls, each under its object name. The layout fills it once; every
/// other part of the window reaches its controls here.
struct MainWidgets
{
    // Header: the picture and the switch buttons with their actions.
    QLabel* Image1 = nullptr;
    QAction* ActMicDetectToggle = nullptr;
    QAction* ActMouDetectToggle = nullptr;
    QAction* ActSimToggle = nullptr;
    QAction* ActKeyDetectToggle = nullptr; // an item of the "Options" menu
    QAction* ActActivateToggle = nullptr;
    QAction* ActViewReport = nullptr;
    QToolButton* btnMicDetect = nullptr;
    QToolButton* btnMouDetect = nullptr;
    QToolButton* btnSimulation = nullptr;
    QToolButton* btnActivate = nullptr;
    QToolButton* btnReport = nullptr;

    // System volume panel.
    QLabel* lblSystemVolume = nullptr;
    QPushButton* btnSysVolumeControl = nullptr;
    QPushButton* btnSysRecordingControl = nullptr;

    // Detection and delays.
    QProgressBar* ggDetection = nullptr;
    QProgressBar* ggDuration = nullptr;
    std::map<Lamp, LedLamp*> lamps; // each under the object name its Lamp is named after
    QComboBox* cmbRecSource = nullptr;
    std::map<Tunable, QSlider*> sliders;
    std::map<Tunable, TunableSpinBox*> spinBoxes;

    // Speakers test.
    QPushButton* btnFrontLeft = nullptr;
    QPushButton* btnFrontCenter = nullptr;
    QPushButton* btnFrontRight = nullptr;
    QPushButton* btnTestStop = nullptr;

    // Alarm sounds.
    QAction* ActAddSound = nullptr;
    QAction* ActRemoveSound = nullptr;
    QAction* ActChkLbAlarmSndChecktAll = nullptr;
    QAction* ActChkLbAlarmSndCheckInverse = nullptr;
    QAction* ActChkLbAlarmSndUnCheckAll = nullptr;
    SoundCheckList* chklbSounds = nullptr;
    QMenu* popAlarmSounds = nullptr;

    // Footer and main menu.
    QPushButton* btnExit = nullptr;
    QAction* mnuResetSettingToDefault = nullptr;
    QAction* mnuProtection = nullptr;
    QAction* Exit2 = nullptr;
    QAction* About2 = nullptr;
    /// The "Help" and "More" items that open a page or a new message, with what each opens.
    std::vector<std::pair<QAction*, WebLink>> links;
};
