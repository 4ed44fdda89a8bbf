#include "wav_reader.h"

#include <fstream>
#include <iterator>

namespace kv::sounds::test {
namespace {

std::uint32_t u32At(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

std::uint16_t u16At(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

bool tagAt(const std::vector<std::uint8_t>& b, std::size_t at, const char* tag)
{
    return std::equal(tag, tag + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}

} // namespace

std::string parseWav(const std::vector<std::uint8_t>& b, WavFile& out)
{
    if (b.size() < 12 || !tagAt(b, 0, "RIFF") || !tagAt(b, 8, "WAVE"))
        return "no RIFF/WAVE header";
    if (u32At(b, 4) != b.size() - 8)
        return "RIFF size " + std::to_string(u32At(b, 4)) + " but file holds "
               + std::to_string(b.size() - 8) + " bytes after it";

    bool haveFormat = false;
    bool haveData = false;
    std::size_t at = 12;
    while (at < b.size()) {
        if (b.size() - at < 8)
            return "truncated chunk header at " + std::to_string(at);
        const std::uint32_t size = u32At(b, at + 4);
        const std::size_t body = at + 8;
        if (size > b.size() - body)
            return "chunk at " + std::to_string(at) + " runs past the end";
        if (tagAt(b, at, "fmt ")) {
            if (size < 16)
                return "format chunk too short";
            out.formatTag = u16At(b, body);
            out.channels = u16At(b, body + 2);
            out.sampleRate = u32At(b, body + 4);
            out.byteRate = u32At(b, body + 8);
            out.blockAlign = u16At(b, body + 12);
            out.bitsPerSample = u16At(b, body + 14);
            haveFormat = true;
        } else if (tagAt(b, at, "data")) {
            if (!haveFormat)
                return "data chunk before the format chunk";
            if (out.blockAlign == 0 || size % out.blockAlign != 0)
                return "data size is not a whole number of sample frames";
            if (out.bitsPerSample == 16)
                for (std::size_t i = body; i < body + size; i += 2)
                    out.samples.push_back(static_cast<std::int16_t>(u16At(b, i)));
            haveData = true;
        }
        at = body + size + (size & 1); // chunks are padded to even length
    }
    if (!haveFormat || !haveData)
        return "format or data chunk missing";
    return {};
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace kv::sounds::test
