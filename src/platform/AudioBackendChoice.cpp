#include "AudioBackendChoice.h"

#include "PortAudioBackend.h"
#include "PulseBackend.h"

#include <QByteArray>
#include <QtGlobal>

std::unique_ptr<AudioBackend> OpenAudioBackend()
{
    const QByteArray chosen = qgetenv("OSTREL_AUDIO_BACKEND");
    if (chosen == "portaudio")
        return std::make_unique<PortAudioBackend>();
    auto pulse = std::make_unique<PulseBackend>();
    // A chosen server that does not answer still gets its say: the start-up reports why.
    if (pulse->connect() || chosen == "pulse")
        return pulse;
    return std::make_unique<PortAudioBackend>();
}
