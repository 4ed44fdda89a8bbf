#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"
#include "tests/support/shell_command.h"
#include "tests/tools/sounds/wav_reader.h"

namespace kv::sounds::test {

// Runs the make_sounds program; returns its exit status (-1: killed by a signal).
inline int runMakeSounds(const std::string& arguments)
{
    return ::kv::test::runCommand(std::string(MAKE_SOUNDS_PATH) + " " + arguments).exitCode;
}

// The seven files of one make_sounds run, raw and parsed; parseErrors[i] is empty when
// sound(i+1).wav is well-formed.
struct GeneratedSounds {
    std::vector<std::vector<std::uint8_t>> bytes;
    std::vector<WavFile> files;
    std::vector<std::string> parseErrors;
};

inline GeneratedSounds generateSounds(const std::filesystem::path& folder)
{
    if (runMakeSounds("'" + folder.string() + "'") != 0)
        throw std::runtime_error("make_sounds failed");
    GeneratedSounds out;
    for (int n = 1; n <= 7; ++n) {
        out.bytes.push_back(readBytes(folder / ("sound" + std::to_string(n) + ".wav")));
        out.files.emplace_back();
        out.parseErrors.push_back(parseWav(out.bytes.back(), out.files.back()));
    }
    return out;
}

}  // namespace kv::sounds::test
