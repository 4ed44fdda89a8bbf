#include "tools/sounds/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace kv::sounds {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Rises from 0 to 1 over x in [0, 1] with zero slope at both ends, so envelopes have no kinks.
double raisedCosine(double x)
{
    x = std::clamp(x, 0.0, 1.0);
    return 0.5 - 0.5 * std::cos(std::numbers::pi * x);
}

// Phase of the fundamental t seconds into the note. A glide is exponential in frequency, which
// the ear hears as an even slide; its phase is the closed-form integral of the frequency, so
// the waveform stays continuous however fast the slide.
double fundamentalPhase(const Note& note, double t)
{
    const double endHz = note.endHz > 0.0 ? note.endHz : note.startHz;
    const double ratio = endHz / note.startHz;
    if (std::abs(ratio - 1.0) < 1e-12)
        return kTwoPi * note.startHz * t;
    const double logRatio = std::log(ratio);
    return kTwoPi * note.startHz * note.lengthS * (std::exp(logRatio * t / note.lengthS) - 1.0) / logRatio;
}

double envelopeShape(const Note& note, double t)
{
    double shape = note.attackS > 0.0 ? raisedCosine(t / note.attackS) : 1.0;
    const double releaseStart = note.lengthS - note.releaseS;
    if (note.releaseS > 0.0 && t > releaseStart)
        shape *= 1.0 - raisedCosine((t - releaseStart) / note.releaseS);
    return shape;
}

void addNote(const Note& note, std::vector<double>& mix, int sampleRate)
{
    if (note.lengthS <= 0.0 || note.startHz <= 0.0 || note.decayS <= 0.0)
        throw std::invalid_argument("note without length, pitch or decay");
    const auto first = static_cast<std::size_t>(std::llround(note.startS * sampleRate));
    const auto count = static_cast<std::size_t>(std::llround(note.lengthS * sampleRate));
    const std::size_t last = std::min(mix.size(), first + count);
    for (std::size_t i = first; i < last; ++i) {
        const double t = static_cast<double>(i - first) / sampleRate;
        const double phase = fundamentalPhase(note, t);
        const double decayed = std::max(0.0, t - note.attackS);
        double value = 0.0;
        for (const Partial& p : note.partials)
            value += p.gain * std::exp(-decayed * p.decaySpeed / note.decayS) * std::sin(p.ratio * phase);
        mix[i] += note.gain * envelopeShape(note, t) * value;
    }
}

}  // namespace

std::vector<double> renderNotes(const std::vector<Note>& notes, double lengthS, int sampleRate)
{
    std::vector<double> mix(static_cast<std::size_t>(std::llround(lengthS * sampleRate)), 0.0);
    for (const Note& note : notes)
        addNote(note, mix, sampleRate);
    return mix;
}

std::vector<std::int16_t> finishMix(std::vector<double> mix, double peak, double fadeInS, double fadeOutS,
                                    int sampleRate)
{
    double loudest = 0.0;
    for (double v : mix)
        loudest = std::max(loudest, std::abs(v));
    if (loudest == 0.0)
        throw std::invalid_argument("a sound without signal");

    const double scale = peak / loudest;
    const double n = static_cast<double>(mix.size());
    std::vector<std::int16_t> samples;
    samples.reserve(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double fromEnd = (n - 1.0 - static_cast<double>(i)) / sampleRate;
        const double fade = raisedCosine(t / fadeInS) * raisedCosine(fromEnd / fadeOutS);
        const double value = std::clamp(mix[i] * scale * fade, -1.0, 1.0) * 32767.0;
        samples.push_back(static_cast<std::int16_t>(std::lround(value)));
    }
    return samples;
}

}  // namespace kv::sounds
