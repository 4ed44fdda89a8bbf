#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kv::sounds::test {

// Measurements on 16-bit mono samples at a given rate, used to judge the synthesised effects.

int peakMagnitude(std::span<const std::int16_t> samples);

// Length in seconds of the longest run of samples whose magnitude stays at or below `quiet`.
double longestQuietRunS(std::span<const std::int16_t> samples, int quiet, int sampleRate);

// The frequency (Hz, 30 Hz to 6 kHz on a grid of quarter tones) with the most energy in the
// Hann-windowed samples.
double dominantFrequencyHz(std::span<const std::int16_t> samples, int sampleRate);

// The highest number of sign changes per second in any window of `windowS` seconds. A tone
// changes sign twice per period; broadband noise about as often as the sample rate allows.
double maxZeroCrossingRate(std::span<const std::int16_t> samples, double windowS, int sampleRate);

} // namespace kv::sounds::test
