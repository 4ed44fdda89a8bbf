#include "ui/sound/pcm_audio_format.h"

namespace kv {

std::optional<QAudioFormat> toAudioFormat(const PcmFormat& pcm)
{
    QAudioFormat format;
    // WAV keeps 8-bit samples unsigned and wider ones signed.
    if (pcm.bitsPerSample == 8)
        format.setSampleFormat(QAudioFormat::UInt8);
    else if (pcm.bitsPerSample == 16)
        format.setSampleFormat(QAudioFormat::Int16);
    else
        return std::nullopt;
    if (pcm.channelCount < 1 || pcm.sampleRate < 1)
        return std::nullopt;
    format.setChannelCount(pcm.channelCount);
    format.setSampleRate(pcm.sampleRate);
    return format;
}

}  // namespace kv
