// What the main window's logic shows in its controls.
#include "LedLamp.h"
#include "fmMain.h"
#include "settings/TunableSpinBox.h"
#include "sounds/SoundCheckList.h"

#include <QAction>
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>

int TfrmMain::value(Tunable id) const
{
    if (const auto slider = m_ui.sliders.find(id); slider != m_ui.sliders.end())
        return slider->second->value();
    return m_ui.spinBoxes.at(id)->value();
}

void TfrmMain::setValue(Tunable id, int value)
{
    if (const auto slider = m_ui.sliders.find(id); slider != m_ui.sliders.end())
        slider->second->setValue(value);
    else
        m_ui.spinBoxes.at(id)->setValue(value);
}

void TfrmMain::setDetectionGauge(int value)
{
    m_ui.ggDetection->setValue(value);
}

void TfrmMain::setDurationGauge(int value)
{
    m_ui.ggDuration->setValue(value);
}

void TfrmMain::showInputs(const QStringList& names, int selected)
{
    m_ui.cmbRecSource->clear();
    m_ui.cmbRecSource->addItems(names);
    m_ui.cmbRecSource->setCurrentIndex(selected);
}

std::uint32_t TfrmMain::lampColour(Lamp lamp) const
{
    return m_ui.lamps.at(lamp)->colour();
}

void TfrmMain::setLampColour(Lamp lamp, std::uint32_t bgr)
{
    m_ui.lamps.at(lamp)->setColour(bgr);
}

void TfrmMain::applyControlStates(const ControlStates& states)
{
    for (QAction* detector : {m_ui.ActMicDetectToggle, m_ui.ActMouDetectToggle, m_ui.ActSimToggle,
                              m_ui.ActKeyDetectToggle})
        detector->setEnabled(states.detectorSwitches);
    m_ui.ActViewReport->setEnabled(states.viewReport);
    m_ui.ActActivateToggle->setEnabled(states.activateToggle);
    m_ui.chklbSounds->setEnabled(states.soundList);
    for (QAction* check : {m_ui.ActChkLbAlarmSndChecktAll, m_ui.ActChkLbAlarmSndUnCheckAll,
                           m_ui.ActChkLbAlarmSndCheckInverse})
        check->setEnabled(states.checkCommands);
    m_ui.ActAddSound->setEnabled(states.addSound);
    m_ui.ActRemoveSound->setEnabled(states.removeSound);
    for (QPushButton* speaker : {m_ui.btnFrontLeft, m_ui.btnFrontCenter, m_ui.btnFrontRight})
        speaker->setEnabled(states.speakerTest);
    m_ui.btnTestStop->setEnabled(states.testStop);
    m_ui.mnuProtection->setEnabled(states.protection);
}

void TfrmMain::showKeyboardDetection(bool on)
{
    m_ui.ActKeyDetectToggle->setChecked(on);
}
