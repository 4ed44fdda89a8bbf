// The entry of libkv5-sound.so, which kv5 opens at its first sound.
#include <QtGlobal>

#include "game/ui/sound/pulse_output.h"

extern "C" Q_DECL_EXPORT kv::SoundOutput* kv_create_sound_output(int interfaceVersion)
{
    if (interfaceVersion != kv::kSoundOutputInterface)
        return nullptr;
    return new kv::PulseOutput;
}
