// Plays sounds through the sound server (PulseAudio, or PipeWire's pulse server), one at a time.
#pragma once

#include <QByteArray>
#include <QObject>

#include <pulse/sample.h>

#include <memory>
#include <optional>

#include "game/ui/sound/pulse_connection.h"
#include "game/ui/sound/pulse_stream.h"
#include "game/ui/sound/sound_output.h"

namespace kv {

// Connects at the first sound and keeps the connection for the next ones; a sound asked for
// while it is being made waits for it. The server's answers arrive on the connection's thread
// and are passed to this object's own thread, where `finished` is called.
class PulseOutput final : public QObject, public SoundOutput {
public:
    PulseOutput();
    ~PulseOutput() override;
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    void play(const WavSound& sound, std::function<void()> finished) override;

private:
    struct Waiting {
        pa_sample_spec spec;
        QByteArray samples;
    };

    // With the connection's lock held; false when the sound cannot play.
    bool start(pa_context* context, const pa_sample_spec& spec, const QByteArray& samples);
    void connectionChanged();
    void streamEnded(quint64 sound);
    void stop();

    PulseConnection connection_;
    // Touched with the connection's lock held.
    std::unique_ptr<PulseStream> stream_;
    std::optional<Waiting> waiting_;
    // This thread's own.
    std::function<void()> finished_;
    quint64 sound_ = 0;  // counts the sounds, so that the end of a replaced one is ignored
};

}  // namespace kv
