// What the sound module offers the player: the part of playing that needs the audio system.
// kv5 does not link the audio libraries; it loads the module on the player thread at the first
// sound and creates one SoundOutput through the factory below.
#pragma once

#include <functional>

#include "game/ui/wav_file.h"

namespace kv {

class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // Called on the thread that created the output, which must run an event loop. Stops the sound
    // still playing (its `finished` is called then) and starts `sound`. `finished` is called once,
    // on that thread: when every sample has been played, when the sound is replaced or the output
    // is destroyed, or at once when it cannot play (no audio device, a format the device refuses).
    virtual void play(const WavSound& sound, std::function<void()> finished) = 0;
};

// Raised whenever SoundOutput, WavSound or PcmFormat change, so that a module built from other
// sources refuses to serve instead of crashing.
inline constexpr int kSoundOutputInterface = 1;

// The module's one exported symbol: a new SoundOutput owned by the caller, or nullptr when the
// module was built for another interface.
inline constexpr char kSoundOutputFactoryName[] = "kv_create_sound_output";
using SoundOutputFactory = SoundOutput* (*)(int interfaceVersion);

}  // namespace kv
