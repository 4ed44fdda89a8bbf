// Plays sounds through the default audio output of Qt Multimedia, one at a time.
#pragma once

#include <QObject>

#include "ui/sound/sound_output.h"

class QAudioSink;

namespace kv {

class AudioSinkOutput final : public QObject, public SoundOutput {
public:
    AudioSinkOutput() = default;
    ~AudioSinkOutput() override;
    AudioSinkOutput(const AudioSinkOutput&) = delete;
    AudioSinkOutput& operator=(const AudioSinkOutput&) = delete;

    void play(const WavSound& sound, std::function<void()> finished) override;

private:
    void stop();

    QAudioSink* sink_ = nullptr;
    std::function<void()> finished_;
};

}  // namespace kv
