#include "MicrophoneDetector.h"

#include <algorithm>

namespace {
constexpr unsigned GaugeMaximum = 100;
} // namespace

MicrophoneDetector::MicrophoneDetector(MicrophoneView& view) : m_view(view) {}

void MicrophoneDetector::CheckLevel(quint32 level)
{
    m_micLevel = std::max(level & 0xFFFF, level >> 16);
    // The gauge shows a level beyond its range at its nearer end.
    m_view.setDetectionGauge(int(std::min(m_micLevel, GaugeMaximum)));
}

void MicrophoneDetector::recordingStopped()
{
    m_view.setDetectionGauge(0);
    ResetTriggerCount();
}

void MicrophoneDetector::ResetTriggerCount()
{
    m_view.setDurationGauge(0);
}
