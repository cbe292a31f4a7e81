#include "Lamps.h"

#include "Colours.h"

namespace {
constexpr int LitMs = 250;
} // namespace

DetectionLamp::DetectionLamp(LampView& view, Lamp lamp, TimerEngine& timers)
    : m_view(view), m_lamp(lamp), m_timer(timers, LitMs)
{
    QObject::connect(&m_timer, &Timer::timeout, &m_timer, [this] {
        m_timer.setEnabled(false);
        m_view.setLampColour(m_lamp, Colours::LampOff);
    });
}

void DetectionLamp::light()
{
    m_view.setLampColour(m_lamp, Colours::LampDetection);
    m_timer.setEnabled(true);
}
