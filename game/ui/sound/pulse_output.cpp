#include "game/ui/sound/pulse_output.h"

#include <QMetaObject>

#include <utility>

#include "game/ui/sound/pulse_sample_format.h"

namespace kv {

PulseOutput::PulseOutput()
    : connection_([this] {
          QMetaObject::invokeMethod(
              this, [this] { connectionChanged(); }, Qt::QueuedConnection);
      })
{
}

PulseOutput::~PulseOutput()
{
    stop();
}

void PulseOutput::play(const WavSound& sound, std::function<void()> finished)
{
    stop();
    const std::optional<pa_sample_spec> spec = toSampleSpec(sound.format);
    if (!spec || sound.samples.isEmpty()) {
        if (finished)
            finished();
        return;
    }
    finished_ = std::move(finished);
    ++sound_;
    bool playing = false;
    {
        const PulseConnection::Lock lock(connection_);
        if (pa_context* context = connection_.ready()) {
            playing = start(context, *spec, sound.samples);
        } else {
            connection_.connect();
            if (connection_.connecting()) {
                waiting_ = Waiting{*spec, sound.samples};
                playing = true;
            }
        }
    }
    if (!playing)
        stop();
}

bool PulseOutput::start(pa_context* context, const pa_sample_spec& spec, const QByteArray& samples)
{
    stream_ = PulseStream::play(context, spec, samples, [this, sound = sound_] {
        QMetaObject::invokeMethod(
            this, [this, sound] { streamEnded(sound); }, Qt::QueuedConnection);
    });
    return stream_ != nullptr;
}

void PulseOutput::connectionChanged()
{
    bool silent = false;
    {
        const PulseConnection::Lock lock(connection_);
        if (!waiting_)
            return;
        if (pa_context* context = connection_.ready()) {
            const Waiting waiting = *std::exchange(waiting_, std::nullopt);
            silent = !start(context, waiting.spec, waiting.samples);
        } else {
            // No server, or it refused us: the sound is over before it began.
            silent = !connection_.connecting();
        }
    }
    if (silent)
        stop();
}

void PulseOutput::streamEnded(quint64 sound)
{
    if (sound == sound_)
        stop();
}

void PulseOutput::stop()
{
    {
        const PulseConnection::Lock lock(connection_);
        stream_.reset();
        waiting_.reset();
    }
    // Unlocked: `finished` may start the next sound. Cleared before the call for that reason.
    if (finished_)
        std::exchange(finished_, nullptr)();
}

}  // namespace kv
