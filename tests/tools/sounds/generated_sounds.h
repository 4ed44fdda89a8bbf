#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/scratch_folder.h"
#include "wav_reader.h"

namespace kv::sounds::test {

// Runs the make_sounds program; returns its exit status (-1: killed by a signal).
int runMakeSounds(const std::string& arguments);

// The seven files of one make_sounds run, raw and parsed; parseErrors[i] is empty when
// sound(i+1).wav is well-formed.
struct GeneratedSounds {
    std::vector<std::vector<std::uint8_t>> bytes;
    std::vector<WavFile> files;
    std::vector<std::string> parseErrors;
};

GeneratedSounds generateSounds(const std::filesystem::path& folder);

} // namespace kv::sounds::test
