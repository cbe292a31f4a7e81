#pragma once

#include "VirtualClock.h"
#include "audio/AlarmPlayback.h"

#include <QFile>
#include <QStringList>
#include <functional>

/// Playback on the virtual clock: every sound whose file exists "plays" for soundMs.
class FakePlayback : public AlarmPlayback
{
public:
    explicit FakePlayback(const VirtualClock& clock, qint64 soundMs = 1000)
        : m_clock(clock), soundMs(soundMs)
    {
    }

    void PlayHow(int slot, int panMode, const QString& path) override
    {
        if (onPlay)
            onPlay();
        calls << QStringLiteral("%1 %2 %3").arg(slot).arg(panMode).arg(path);
        if (QFile::exists(path)) {
            m_endsAt = m_clock.elapsedMs() + soundMs;
            played << path;
        }
    }
    void StopSounds() override
    {
        if (onStop)
            onStop();
        ++stops;
        m_endsAt = 0;
    }
    bool IsPlaying() const override
    {
        ++polls;
        return m_clock.elapsedMs() < m_endsAt;
    }

    QStringList calls;  // every PlayHow: "slot panMode path"
    QStringList played; // the paths that sounded
    int stops = 0;
    mutable int polls = 0;        // every IsPlaying
    std::function<void()> onPlay; // runs as PlayHow begins
    std::function<void()> onStop; // runs as StopSounds begins

private:
    const VirtualClock& m_clock;
    qint64 m_endsAt = 0;

public:
    qint64 soundMs;
};
