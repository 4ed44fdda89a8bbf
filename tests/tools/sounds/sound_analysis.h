#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <span>
#include <vector>

namespace kv::sounds::test {

// Measurements on 16-bit mono samples at a given rate, used to judge the synthesised effects.

inline int peakMagnitude(std::span<const std::int16_t> samples)
{
    int peak = 0;
    for (std::int16_t s : samples)
        peak = std::max(peak, std::abs(int{s}));
    return peak;
}

// Length in seconds of the longest run of samples whose magnitude stays at or below `quiet`.
inline double longestQuietRunS(std::span<const std::int16_t> samples, int quiet, int sampleRate)
{
    std::size_t run = 0;
    std::size_t longest = 0;
    for (std::int16_t s : samples) {
        run = std::abs(int{s}) <= quiet ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return static_cast<double>(longest) / sampleRate;
}

// The frequency (Hz, 30 Hz to 6 kHz on a grid of quarter tones) with the most energy in the
// Hann-windowed samples.
inline double dominantFrequencyHz(std::span<const std::int16_t> samples, int sampleRate)
{
    const std::size_t n = samples.size();
    std::vector<double> windowed(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / (n - 1.0));
        windowed[i] = w * samples[i];
    }
    double bestHz = 0.0;
    double bestPower = -1.0;
    for (double hz = 30.0; hz <= 6000.0; hz *= std::pow(2.0, 1.0 / 24.0)) {
        // Goertzel: the power of one frequency without a whole transform.
        const double coeff = 2.0 * std::cos(2.0 * std::numbers::pi * hz / sampleRate);
        double s1 = 0.0, s2 = 0.0;
        for (double x : windowed) {
            const double s0 = x + coeff * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
        if (power > bestPower) {
            bestPower = power;
            bestHz = hz;
        }
    }
    return bestHz;
}

// The highest number of sign changes per second in any window of `windowS` seconds. A tone
// changes sign twice per period; broadband noise about as often as the sample rate allows.
inline double maxZeroCrossingRate(std::span<const std::int16_t> samples, double windowS, int sampleRate)
{
    const auto window = static_cast<std::size_t>(windowS * sampleRate);
    double highest = 0.0;
    for (std::size_t start = 0; start + window <= samples.size(); start += window / 2) {
        int crossings = 0;
        for (std::size_t i = start + 1; i < start + window; ++i)
            crossings += (samples[i - 1] < 0) != (samples[i] < 0);
        highest = std::max(highest, crossings / windowS);
    }
    return highest;
}

}  // namespace kv::sounds::test
