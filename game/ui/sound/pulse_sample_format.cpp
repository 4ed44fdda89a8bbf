#include "game/ui/sound/pulse_sample_format.h"

namespace kv {

std::optional<pa_sample_spec> toSampleSpec(const PcmFormat& pcm)
{
    pa_sample_spec spec{};
    // WAV keeps 8-bit samples unsigned and wider ones signed, little-endian.
    if (pcm.bitsPerSample == 8)
        spec.format = PA_SAMPLE_U8;
    else if (pcm.bitsPerSample == 16)
        spec.format = PA_SAMPLE_S16LE;
    else
        return std::nullopt;
    if (pcm.channelCount < 1 || pcm.channelCount > static_cast<int>(PA_CHANNELS_MAX) || pcm.sampleRate < 1)
        return std::nullopt;
    spec.channels = static_cast<uint8_t>(pcm.channelCount);
    spec.rate = static_cast<uint32_t>(pcm.sampleRate);
    if (pa_sample_spec_valid(&spec) == 0)
        return std::nullopt;
    return spec;
}

}  // namespace kv
