#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kv::sounds {

inline constexpr int kSampleRate = 44100;

// A complete RIFF/WAVE file: 16-bit PCM, one channel, little-endian as the format demands.
std::vector<std::uint8_t> encodeWavPcm16Mono(std::span<const std::int16_t> samples,
                                             int sampleRate = kSampleRate);

}  // namespace kv::sounds
