// What the window plays its sounds through; tests put a recorder in its place.
#pragma once

#include <QString>

namespace kv {

class SoundBackend {
public:
    virtual ~SoundBackend() = default;

    // Plays `file` (relative to the working directory). A new sound replaces one still playing.
    // With `waitUntilFinished` the call returns only when the sound has ended, and the window
    // takes no input meanwhile. A missing or unreadable file, or no audio device, is silent.
    virtual void play(const QString& file, bool waitUntilFinished) = 0;
};

}  // namespace kv
