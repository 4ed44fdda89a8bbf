// Our plain sample layout in the audio system's terms.
#pragma once

#include <QAudioFormat>

#include <optional>

#include "ui/wav_file.h"

namespace kv {

// Nothing for a layout the audio system has no sample format for.
std::optional<QAudioFormat> toAudioFormat(const PcmFormat& pcm);

}  // namespace kv
