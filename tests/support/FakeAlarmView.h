#pragma once

#include "alarm/AlarmContext.h"
#include "core/Colours.h"

#include <QStringList>
#include <map>

/// The window as the alarm logic sees it: lamps that remember their colour and a log of the
/// other calls in their order.
class FakeAlarmView : public AlarmView
{
public:
    std::uint32_t lampColour(Lamp lamp) const override
    {
        const auto it = lamps.find(lamp);
        return it == lamps.end() ? Colours::LampOff : it->second;
    }
    void setLampColour(Lamp lamp, std::uint32_t bgr) override { lamps[lamp] = bgr; }
    void DrawMicDetectBtnState() override { calls << QStringLiteral("DrawMicDetectBtnState"); }
    void DrawMouDetectBtnState() override { calls << QStringLiteral("DrawMouDetectBtnState"); }
    void DrawActivateBtnState() override { calls << QStringLiteral("DrawActivateBtnState"); }
    void DrawKeyDetectBtnState() override { calls << QStringLiteral("DrawKeyDetectBtnState"); }
    void DrawSimBtnState() override { calls << QStringLiteral("DrawSimBtnState"); }
    void KeyState() override { calls << QStringLiteral("KeyState"); }
    void ResetTriggerCount() override { calls << QStringLiteral("ResetTriggerCount"); }

    std::map<Lamp, std::uint32_t> lamps;
    QStringList calls;
};
