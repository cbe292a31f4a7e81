#include "MixingBackend.h"

AudioHandle MixingBackend::createFileStream(const QString& path)
{
    if (!outputStarted()) {
        m_error.fail(AudioError::NotStarted);
        return 0;
    }
    const AudioHandle stream = m_streams.createFileStream(path);
    fromStreams(stream != 0);
    return stream;
}

void MixingBackend::freeStream(AudioHandle stream)
{
    m_streams.freeStream(stream);
}

std::optional<ChannelAttributes> MixingBackend::attributes(AudioHandle channel) const
{
    const std::optional<ChannelAttributes> result = m_streams.attributes(channel);
    fromStreams(result.has_value());
    return result;
}

bool MixingBackend::setAttributes(AudioHandle channel, const ChannelAttributes& attributes)
{
    return fromStreams(m_streams.setAttributes(channel, attributes));
}

bool MixingBackend::fromStreams(bool succeeded) const
{
    return succeeded || m_error.fail(m_streams.errorCode());
}
