#include "MicrophoneDetector.h"

#include "alarm/AlarmTrigger.h"
#include "settings/Tunables.h"

#include <algorithm>
#include <limits>

namespace {
constexpr int GaugeMaximum = 100;

/// A gauge shows a value beyond its range at its nearer end.
int onGauge(qint64 value)
{
    return int(std::clamp<qint64>(value, 0, GaugeMaximum));
}
} // namespace

MicrophoneDetector::MicrophoneDetector(const Collaborators& with)
    : m_with(with), m_lamp(with.lamps, Lamp::shpLedMicDetection, with.timers)
{
}

void MicrophoneDetector::CheckLevel(quint32 level)
{
    const unsigned left = level & 0xFFFF;
    const unsigned right = level >> 16;
    m_micLevel = std::max(left, right);
    countReport();
    showGauges();
}

void MicrophoneDetector::countReport()
{
    // Digital silence says nothing about the room: the count stays as it is.
    if (m_micLevel == 0)
        return;
    if (m_micLevel < unsigned(std::max(0, m_with.tunables.value(Tunable::trkMicTriggerVolume)))) {
        m_triggerCount = 0;
        return;
    }
    if (m_triggerCount < std::numeric_limits<int>::max())
        ++m_triggerCount;
    if (m_triggerCount > m_with.tunables.value(Tunable::trkMicTriggerDuration)) {
        m_with.alarm.ActivateAlarm(QStringLiteral("Microphone detected"));
        m_lamp.light();
    }
}

void MicrophoneDetector::showGauges()
{
    m_with.view.setDetectionGauge(onGauge(m_micLevel));
    m_with.view.setDurationGauge(onGauge(m_triggerCount));
}

void MicrophoneDetector::recordingStopped()
{
    m_with.view.setDetectionGauge(0);
    ResetTriggerCount();
}

void MicrophoneDetector::ResetTriggerCount()
{
    m_triggerCount = 0;
    m_with.view.setDurationGauge(0);
}
