#include "SpeakerGuard.h"

#include "TaskQueue.h"
#include "audio/AlarmPlayback.h"
#include "report/ReportLog.h"

SpeakerGuard::SpeakerGuard(Collaborators with, int volumePercent, QObject* parent)
    : QObject(parent), m_with(with), m_volume(volumePercent), m_endPoll(with.timers, EndPollMs)
{
    connect(&with.queue, &TaskQueue::burstQueued, this, &SpeakerGuard::engage);
    connect(&m_endPoll, &Timer::timeout, this, &SpeakerGuard::endPoll);
    if (m_with.volume)
        m_with.volume->watchSpeakers([this](const VolumeState& state) { speakersChanged(state); });
}

SpeakerGuard::~SpeakerGuard()
{
    release();
    if (m_with.volume)
        m_with.volume->watchSpeakers(nullptr);
}

void SpeakerGuard::engage()
{
    if (!m_with.volume) {
        if (!std::exchange(m_toldNoServer, true))
            m_with.report.AddToReport(QStringLiteral("No sound server - speakers not kept on"));
        return;
    }
    if (m_engaged)
        return;
    m_engaged = true;
    m_settled = false;
    m_toldMuted = false;
    m_toldLowered = false;
    m_endPoll.setEnabled(true);
    // Until the server has told the sink's state, there is nothing to hold or to restore.
    if (m_current)
        speakersChanged(*m_current);
}

VolumeState SpeakerGuard::wanted() const
{
    return VolumeState{m_current ? m_current->device : QString(), m_volume, false};
}

void SpeakerGuard::speakersChanged(const VolumeState& state)
{
    m_current = state;
    if (!m_engaged)
        return;
    if (!m_before)
        m_before = state;
    const VolumeState target = wanted();
    if (state == target) {
        m_settled = true;
        return;
    }
    // States on the way to the one asked for are not someone else's doing.
    if (std::exchange(m_settled, false)) {
        if (state.muted && !std::exchange(m_toldMuted, true))
            m_with.report.AddToReport(QStringLiteral("Speakers muted - restored"));
        if (state.volume < target.volume && !std::exchange(m_toldLowered, true))
            m_with.report.AddToReport(QStringLiteral("Volume lowered - restored"));
    }
    m_with.volume->setSpeakers(target);
}

void SpeakerGuard::endPoll()
{
    if (m_with.queue.isEmpty() && !m_with.playback.IsPlaying())
        release();
}

void SpeakerGuard::release()
{
    m_endPoll.setEnabled(false);
    if (!std::exchange(m_engaged, false))
        return;
    if (const auto before = std::exchange(m_before, std::nullopt))
        m_with.volume->setSpeakers(*before);
}
