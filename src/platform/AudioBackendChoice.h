#pragma once

#include "audio/AudioBackend.h"

#include <memory>

/// The audio engine for this desktop: the sound server's when one answers with a sink and a
/// source, else PortAudio's. OSTREL_AUDIO_BACKEND=pulse or =portaudio takes that one outright,
/// so that the two can be measured side by side.
std::unique_ptr<AudioBackend> OpenAudioBackend();
