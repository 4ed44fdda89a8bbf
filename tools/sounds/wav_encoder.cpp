#include "tools/sounds/wav_encoder.h"

#include <stdexcept>

namespace kv::sounds {
namespace {

void putTag(std::vector<std::uint8_t>& out, const char (&tag)[5])
{
    out.insert(out.end(), tag, tag + 4);
}

void putU16(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
}

}  // namespace

std::vector<std::uint8_t> encodeWavPcm16Mono(std::span<const std::int16_t> samples, int sampleRate)
{
    constexpr std::uint16_t kChannels = 1;
    constexpr std::uint16_t kBitsPerSample = 16;
    constexpr std::uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;
    constexpr std::uint32_t kHeaderBytes = 44;

    // The RIFF size field is 32 bits; a sound of our length is far below that, but a caller
    // must not get a silently truncated header.
    const std::uint64_t dataBytes = std::uint64_t{samples.size()} * kBlockAlign;
    if (sampleRate <= 0 || dataBytes > 0xFFFFFFFFull - kHeaderBytes)
        throw std::invalid_argument("sound too long or sample rate invalid");

    std::vector<std::uint8_t> out;
    out.reserve(kHeaderBytes + dataBytes);
    putTag(out, "RIFF");
    putU32(out, static_cast<std::uint32_t>(kHeaderBytes - 8 + dataBytes));
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putU32(out, 16);
    putU16(out, 1);  // PCM
    putU16(out, kChannels);
    putU32(out, static_cast<std::uint32_t>(sampleRate));
    putU32(out, static_cast<std::uint32_t>(sampleRate) * kBlockAlign);
    putU16(out, kBlockAlign);
    putU16(out, kBitsPerSample);
    putTag(out, "data");
    putU32(out, static_cast<std::uint32_t>(dataBytes));
    for (std::int16_t s : samples)
        putU16(out, static_cast<std::uint16_t>(s));
    return out;
}

}  // namespace kv::sounds
