#pragma once

#include "AudioBackend.h"

#include <QObject>

class MessageBoxes;

/// The recording whose level reports drive the microphone detector. Reports cross from the
/// recording thread to the main thread in the order they were recorded; reports still on their
/// way when the recording stops are dropped.
class MicRecording : public QObject
{
    Q_OBJECT
public:
    MicRecording(AudioBackend& audio, MessageBoxes& messages, QObject* parent = nullptr);
    /// Stops the recording, so that no report can arrive for a destroyed receiver.
    ~MicRecording() override;

    /// Main thread. Restarts the recording from the selected input; does nothing when none is
    /// selected (index below 0) and warns when the recording cannot start.
    void start(int selectedInput);
    /// Main thread. Stops the recording channel and drops the reports not yet delivered.
    void stop();
    /// Main thread.
    bool isActive() const { return m_audio.isActive(m_channel); }
    AudioHandle RecordChannel() const { return m_channel; }

signals:
    /// Main thread: one level word per recorded block.
    void levelReported(quint32 level);

private:
    /// Recording thread: hands one report to the main thread without waiting for it.
    void handOver(quint64 generation, quint32 level);
    /// Main thread: delivers a report unless its recording has been stopped since.
    void deliver(quint64 generation, quint32 level);

    AudioBackend& m_audio;
    MessageBoxes& m_messages;
    AudioHandle m_channel = 0;
    quint64 m_generation = 0; // main thread only; every start and stop moves it on
};
