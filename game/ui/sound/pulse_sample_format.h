// Our plain sample layout in the sound server's terms.
#pragma once

#include <pulse/sample.h>

#include <optional>

#include "game/ui/wav_file.h"

namespace kv {

// Nothing for a layout the sound server has no sample format for or would refuse.
std::optional<pa_sample_spec> toSampleSpec(const PcmFormat& pcm);

}  // namespace kv
