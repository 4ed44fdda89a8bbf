// The entry of libkv5-sound.so, which kv5 opens at its first sound.
#include <QtGlobal>

#include "ui/sound/audio_sink_output.h"
#include "ui/sound/sound_server_messages.h"

extern "C" Q_DECL_EXPORT kv::SoundOutput* kv_create_sound_output(int interfaceVersion)
{
    if (interfaceVersion != kv::kSoundOutputInterface)
        return nullptr;
    // Before the first use of the audio system, which looks for the sound server.
    kv::dropSoundServerWarnings();
    return new kv::AudioSinkOutput;
}
