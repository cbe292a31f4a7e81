#include "MicRecording.h"

#include "core/MessageBoxes.h"

MicRecording::MicRecording(AudioBackend& audio, MessageBoxes& messages, QObject* parent)
    : QObject(parent), m_audio(audio), m_messages(messages)
{
}

MicRecording::~MicRecording()
{
    m_audio.stop(m_channel);
}

void MicRecording::start(int selectedInput)
{
    if (selectedInput < 0)
        return;
    m_audio.stop(m_channel);
    const quint64 generation = ++m_generation;
    m_channel = m_audio.startRecording(
        AudioBackend::SampleRate,
        [this, generation](AudioHandle, quint32 level) { handOver(generation, level); });
    if (m_channel == 0) {
        m_messages.warning(
            QStringLiteral("Cannot start recording! (%1)").arg(m_audio.errorCode()));
    }
}

void MicRecording::stop()
{
    m_audio.stop(m_channel);
    ++m_generation;
}

void MicRecording::handOver(quint64 generation, quint32 level)
{
    // A queued call: posted events to one receiver are delivered in the order they were posted.
    QMetaObject::invokeMethod(
        this, [this, generation, level] { deliver(generation, level); }, Qt::QueuedConnection);
}

void MicRecording::deliver(quint64 generation, quint32 level)
{
    if (generation == m_generation)
        emit levelReported(level);
}
