// One sound on its own playback stream of the sound server.
#pragma once

#include <QByteArray>

#include <pulse/context.h>
#include <pulse/stream.h>

#include <functional>
#include <memory>

namespace kv {

// Hands the samples over as the server asks for them and drains the stream after the last one.
// Made, used and destroyed with the connection's lock held.
class PulseStream {
public:
    // `ended` is called on the connection's loop thread, at most once: when the server has played
    // every sample (it acknowledges the drain only once its sink has played them), or when the
    // stream failed.
    using Ended = std::function<void()>;

    // The stream playing `samples`, or nullptr when the server's client library refuses it.
    // Destroying the stream stops it without calling `ended`.
    static std::unique_ptr<PulseStream> play(pa_context* context, const pa_sample_spec& spec,
                                             QByteArray samples, Ended ended);
    ~PulseStream();
    PulseStream(const PulseStream&) = delete;
    PulseStream& operator=(const PulseStream&) = delete;

    // How far ahead of the loudspeaker the server keeps the stream's samples: short, so that a
    // sound starts at once, yet long enough for a busy desktop.
    static constexpr pa_usec_t kTargetLatencyUs = 50'000;

private:
    PulseStream(QByteArray samples, Ended ended);
    bool connect(pa_context* context, const pa_sample_spec& spec);
    void write(size_t requested);
    void end();

    static void onStateChanged(pa_stream* stream, void* self);
    static void onWritable(pa_stream* stream, size_t requested, void* self);
    static void onDrained(pa_stream* stream, int success, void* self);

    const QByteArray samples_;
    qsizetype written_ = 0;
    Ended ended_;
    pa_stream* stream_ = nullptr;
    pa_operation* drain_ = nullptr;
};

}  // namespace kv
