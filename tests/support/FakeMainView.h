#pragma once

#include "FakePinPrompt.h"
#include "FakeTunables.h"
#include "app/MainView.h"
#include "core/Colours.h"

#include <QStringList>
#include <map>
#include <optional>

/// The main window as its logic sees it, without a widget: controls that hold their values,
/// lamps and gauges that remember what they show, and a log of the switch drawings.
class FakeMainView : public MainView
{
public:
    int value(Tunable id) const override { return m_tunables.value(id); }
    void setValue(Tunable id, int value) override { m_tunables.set(id, value); }
    void setDetectionGauge(int value) override { detectionGauge = value; }
    void setDurationGauge(int value) override { durationGauge = value; }
    void showInputs(const QStringList& names, int selected) override
    {
        inputs = names;
        selectedInput = selected;
    }
    std::uint32_t lampColour(Lamp lamp) const override
    {
        const auto it = lamps.find(lamp);
        return it == lamps.end() ? Colours::LampOff : it->second;
    }
    void setLampColour(Lamp lamp, std::uint32_t bgr) override { lamps[lamp] = bgr; }
    void drawSwitch(Switch s, int tag) override
    {
        drawn << QStringLiteral("%1 %2").arg(Switches::actionName(s)).arg(tag);
    }
    void showKeyboardDetection(bool on) override { keyboardDetection = on; }
    void applyControlStates(const ControlStates& applied) override { states = applied; }
    void setUpSystemVolumePanel(WinVersionClass versionClass) override { volumePanel = versionClass; }
    void openPinPrompt() override { prompt.openPinPrompt(); }
    void closePinPrompt() override { prompt.closePinPrompt(); }
    void showWrongPin() override { prompt.showWrongPin(); }
    void showPinWait(int seconds) override { prompt.showPinWait(seconds); }
    bool pinPromptHasFocus() const override { return prompt.pinPromptHasFocus(); }

    int detectionGauge = 0;
    int durationGauge = 0;
    QStringList inputs;
    int selectedInput = -1;
    std::map<Lamp, std::uint32_t> lamps;
    QStringList drawn; // "ActionName tag", in the order drawn
    std::optional<ControlStates> states;
    std::optional<WinVersionClass> volumePanel;
    FakePinPrompt prompt;
    bool keyboardDetection = false; // the menu item's check mark

private:
    FakeTunables m_tunables;
};
