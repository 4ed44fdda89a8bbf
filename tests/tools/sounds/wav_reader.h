#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kv::sounds::test {

// Little-endian fields and chunk tags at a byte offset of the file.
namespace wav_fields {
inline std::uint32_t u32At(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

inline std::uint16_t u16At(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

inline bool tagAt(const std::vector<std::uint8_t>& b, std::size_t at, const char* tag)
{
    return std::equal(tag, tag + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}
}  // namespace wav_fields

// What a RIFF/WAVE file says about itself, read independently of the encoder under test.
struct WavFile {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t byteRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::vector<std::int16_t> samples;  // only filled for 16-bit data
};

// Returns an empty string and fills `out` when `bytes` is a WAVE file in the one layout the
// encoder writes (a 16-byte format chunk, then the data to the end) whose sizes agree with each
// other and with the file; otherwise says what is wrong.
inline std::string parseWav(const std::vector<std::uint8_t>& b, WavFile& out)
{
    using namespace wav_fields;
    if (b.size() < 44 || !tagAt(b, 0, "RIFF") || !tagAt(b, 8, "WAVE") || !tagAt(b, 12, "fmt ") ||
        u32At(b, 16) != 16 || !tagAt(b, 36, "data"))
        return "not the RIFF header, a 16-byte format chunk and the data chunk";
    if (u32At(b, 4) != b.size() - 8 || u32At(b, 40) != b.size() - 44)
        return "RIFF size " + std::to_string(u32At(b, 4)) + " or data size " + std::to_string(u32At(b, 40)) +
               " disagrees with the file's " + std::to_string(b.size()) + " bytes";
    out.formatTag = u16At(b, 20);
    out.channels = u16At(b, 22);
    out.sampleRate = u32At(b, 24);
    out.byteRate = u32At(b, 28);
    out.blockAlign = u16At(b, 32);
    out.bitsPerSample = u16At(b, 34);
    if (out.blockAlign == 0 || (b.size() - 44) % out.blockAlign != 0)
        return "data size is not a whole number of sample frames";
    if (out.bitsPerSample == 16)
        for (std::size_t i = 44; i < b.size(); i += 2)
            out.samples.push_back(static_cast<std::int16_t>(u16At(b, i)));
    return {};
}

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace kv::sounds::test
