// The sounds played through Qt Multimedia on a thread of their own.
#pragma once

#include <QThread>

#include "ui/sound_backend.h"

namespace kv {

class SoundWorker;

// The audio system is first touched on the player's own thread, when the first sound plays, so
// that loading it costs the window nothing. A sound to be waited for blocks the calling thread
// on a semaphore (no nested event loop) until the player thread reports its end, at most for the
// sound's length plus a small margin, so a stalled audio device cannot freeze the game.
class SoundPlayer final : public SoundBackend {
public:
    SoundPlayer();
    ~SoundPlayer() override;
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    void play(const QString& file, bool waitUntilFinished) override;

    // How long a waiting call may outlast the sound itself.
    static constexpr int kWaitMarginMs = 750;

private:
    void startThread();

    QThread thread_;
    SoundWorker* worker_ = nullptr;  // lives on thread_, deleted there when it finishes
};

}  // namespace kv
