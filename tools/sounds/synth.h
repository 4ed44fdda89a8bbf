#pragma once

#include <cstdint>
#include <vector>

namespace kv::sounds {

// One overtone of a note: frequency as a multiple of the note's, loudness relative to the
// fundamental, and how much faster than the fundamental it dies away (1 = as fast).
struct Partial {
    double ratio = 1.0;
    double gain = 1.0;
    double decaySpeed = 1.0;
};

// A note is a sum of sine partials under one envelope: a raised-cosine attack, an exponential
// decay, and a raised-cosine release over its last moments. The pitch may glide exponentially
// from startHz to endHz over the note's length.
struct Note {
    double startS = 0.0;
    double lengthS = 0.1;
    double startHz = 440.0;
    double endHz = 0.0;  // 0: no glide
    double gain = 1.0;
    double attackS = 0.005;
    double decayS = 1.0;  // time constant of the exponential decay
    double releaseS = 0.02;
    std::vector<Partial> partials{Partial{}};
};

// Mixes the notes into lengthS seconds of signal; notes reaching past the end are cut there.
std::vector<double> renderNotes(const std::vector<Note>& notes, double lengthS, int sampleRate);

// Scales the mix so its largest magnitude is `peak` (a fraction of full scale), fades the very
// beginning and end to exactly zero so that playback starts and stops without a click, and
// rounds to 16-bit samples.
std::vector<std::int16_t> finishMix(std::vector<double> mix, double peak, double fadeInS, double fadeOutS,
                                    int sampleRate);

}  // namespace kv::sounds
