// The game's sounds, played on a thread of their own through the sound module.
#pragma once

#include <QString>
#include <QThread>

#include "game/ui/sound_backend.h"

namespace kv {

class SoundModuleHost;

// kv5 does not link the audio libraries: the first sound starts the player thread, which loads
// the sound module (libkv5-sound.so) and from then on plays through it, so the window never
// waits for the audio system to load; a first sound nobody waits for loads it only after a
// moment, so that loading does not slow the window's first frame. A sound to be waited for blocks the calling
// thread on a semaphore (no nested event loop) until the player thread reports its end, at most for the
// sound's length plus a small margin, so neither a stalled audio device nor a slow first load can
// freeze the game. A module that is missing or cannot be loaded leaves the game silent.
class SoundPlayer final : public SoundBackend {
public:
    // Plays through the module beside the program file.
    SoundPlayer();
    explicit SoundPlayer(QString modulePath);
    ~SoundPlayer() override;
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    void play(const QString& file, bool waitUntilFinished) override;

    // The module in the program's own folder: the working directory is the player's, and a
    // library found there must not be loaded.
    static QString moduleBesideProgram();

    // How long a waiting call may outlast the sound itself.
    static constexpr int kWaitMarginMs = 750;
    // How long the first sound that nobody waits for leaves the window alone before the module
    // is loaded: time enough for the window to appear.
    static constexpr int kFirstLoadDelayMs = 200;

private:
    void startThread();

    const QString modulePath_;
    QThread thread_;
    SoundModuleHost* host_ = nullptr;  // lives on thread_, deleted there when it finishes
};

}  // namespace kv
