#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "wav_reader.h"

namespace kv::sounds::test {

// Runs the make_sounds program; returns its exit status (-1 if it could not be run).
int runMakeSounds(const std::string& arguments);

// A fresh private folder below the temporary folder, removed again on destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The seven files of one make_sounds run, raw and parsed; parseErrors[i] is empty when
// sound(i+1).wav is well-formed.
struct GeneratedSounds {
    std::vector<std::vector<std::uint8_t>> bytes;
    std::vector<WavFile> files;
    std::vector<std::string> parseErrors;
};

GeneratedSounds generateSounds(const std::filesystem::path& folder);

} // namespace kv::sounds::test
