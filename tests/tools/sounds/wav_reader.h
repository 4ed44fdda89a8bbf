#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kv::sounds::test {

// What a RIFF/WAVE file says about itself, read independently of the encoder under test.
struct WavFile {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t byteRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::vector<std::int16_t> samples; // only filled for 16-bit data
};

// Returns an empty string and fills `out` when `bytes` is a WAVE file in the one layout the
// encoder writes (a 16-byte format chunk, then the data to the end) whose sizes agree with each
// other and with the file; otherwise says what is wrong.
std::string parseWav(const std::vector<std::uint8_t>& bytes, WavFile& out);

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);

} // namespace kv::sounds::test
