#include "game/ui/sound/pulse_stream.h"

#include <pulse/channelmap.h>
#include <pulse/operation.h>
#include <pulse/proplist.h>

#include <algorithm>
#include <utility>

namespace kv {

std::unique_ptr<PulseStream> PulseStream::play(pa_context* context, const pa_sample_spec& spec,
                                               QByteArray samples, Ended ended)
{
    std::unique_ptr<PulseStream> stream(new PulseStream(std::move(samples), std::move(ended)));
    if (!stream->connect(context, spec))
        return nullptr;
    return stream;
}

PulseStream::PulseStream(QByteArray samples, Ended ended)
    : samples_(std::move(samples)), ended_(std::move(ended))
{
}

PulseStream::~PulseStream()
{
    if (drain_ != nullptr) {
        // A cancelled operation never calls back.
        if (pa_operation_get_state(drain_) == PA_OPERATION_RUNNING)
            pa_operation_cancel(drain_);
        pa_operation_unref(drain_);
    }
    if (stream_ != nullptr) {
        pa_stream_set_state_callback(stream_, nullptr, nullptr);
        pa_stream_set_write_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
    }
}

bool PulseStream::connect(pa_context* context, const pa_sample_spec& spec)
{
    // WAV's own order of the channels; never fails, past the named ones it counts auxiliaries.
    pa_channel_map channels;
    pa_channel_map_init_extend(&channels, spec.channels, PA_CHANNEL_MAP_WAVEEX);
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "game");
    stream_ = pa_stream_new_with_proplist(context, "KARVELO", &spec, &channels, properties);
    pa_proplist_free(properties);
    if (stream_ == nullptr)
        return false;
    pa_stream_set_state_callback(stream_, &PulseStream::onStateChanged, this);
    pa_stream_set_write_callback(stream_, &PulseStream::onWritable, this);
    const auto unset = static_cast<uint32_t>(-1);
    pa_buffer_attr buffer{unset, static_cast<uint32_t>(pa_usec_to_bytes(kTargetLatencyUs, &spec)), unset,
                          unset, unset};
    return pa_stream_connect_playback(stream_, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY, nullptr,
                                      nullptr) == 0;
}

void PulseStream::write(size_t requested)
{
    const auto left = static_cast<size_t>(samples_.size() - written_);
    const size_t now = std::min(requested, left);
    // The library copies the bytes: the samples may go before the server has played them.
    if (now > 0 &&
        pa_stream_write(stream_, samples_.constData() + written_, now, nullptr, 0, PA_SEEK_RELATIVE) < 0) {
        end();
        return;
    }
    written_ += static_cast<qsizetype>(now);
    if (written_ < samples_.size() || drain_ != nullptr)
        return;
    // Also starts a sound shorter than the server's start threshold.
    drain_ = pa_stream_drain(stream_, &PulseStream::onDrained, this);
    if (drain_ == nullptr)
        end();
}

void PulseStream::end()
{
    if (ended_)
        std::exchange(ended_, nullptr)();
}

void PulseStream::onStateChanged(pa_stream* stream, void* self)
{
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED)
        static_cast<PulseStream*>(self)->end();
}

void PulseStream::onWritable(pa_stream*, size_t requested, void* self)
{
    static_cast<PulseStream*>(self)->write(requested);
}

void PulseStream::onDrained(pa_stream*, int, void* self)
{
    // Played out, or the stream is gone: the end either way.
    static_cast<PulseStream*>(self)->end();
}

}  // namespace kv
