#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/sounds/synth.h"

namespace kv::sounds {

// One of the game's effects: the file it is stored as, its length and the notes it consists of.
struct SoundDesign {
    std::string fileName;
    double lengthS = 0.0;
    std::vector<Note> notes;
};

// The seven effects, in file order: sound1.wav (start chime) to sound7.wav (game-over cadence).
std::vector<SoundDesign> gameSounds();

// The finished 16-bit samples of one effect at kSampleRate.
std::vector<std::int16_t> renderSound(const SoundDesign& design);

}  // namespace kv::sounds
