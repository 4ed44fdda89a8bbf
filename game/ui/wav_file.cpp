#include "game/ui/wav_file.h"

#include <QFile>

#include <cstdint>
#include <cstring>

namespace kv {
namespace {

constexpr qint64 kLargestSoundFile = 16 * 1024 * 1024;
constexpr int kPcmFormatTag = 1;
constexpr int kMostChannels = 8;
constexpr int kHighestSampleRate = 384000;

std::uint32_t readLe(const QByteArray& bytes, qsizetype at, int width)
{
    std::uint32_t value = 0;
    for (int n = width - 1; n >= 0; --n)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + n]);
    return value;
}

bool tagAt(const QByteArray& bytes, qsizetype at, const char* tag)
{
    return std::memcmp(bytes.constData() + at, tag, 4) == 0;
}

struct FormatChunk {
    int tag = 0;
    int channels = 0;
    int sampleRate = 0;
    int blockAlign = 0;
    int bitsPerSample = 0;
};

std::optional<PcmFormat> pcmFormat(const FormatChunk& fmt)
{
    if (fmt.tag != kPcmFormatTag || fmt.channels < 1 || fmt.channels > kMostChannels)
        return std::nullopt;
    if (fmt.sampleRate < 1 || fmt.sampleRate > kHighestSampleRate)
        return std::nullopt;
    if (fmt.bitsPerSample != 8 && fmt.bitsPerSample != 16)
        return std::nullopt;
    if (fmt.blockAlign != fmt.channels * fmt.bitsPerSample / 8)
        return std::nullopt;
    return PcmFormat{fmt.sampleRate, fmt.channels, fmt.bitsPerSample};
}

}  // namespace

std::optional<WavSound> parseWav(const QByteArray& bytes)
{
    if (bytes.size() < 12 || !tagAt(bytes, 0, "RIFF") || !tagAt(bytes, 8, "WAVE"))
        return std::nullopt;

    std::optional<FormatChunk> fmt;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const qsizetype body = at + 8;
        const qint64 declared = readLe(bytes, at + 4, 4);
        const qsizetype available = bytes.size() - body;
        if (tagAt(bytes, at, "fmt ")) {
            if (declared < 16 || available < 16)
                return std::nullopt;
            fmt = FormatChunk{
                static_cast<int>(readLe(bytes, body, 2)), static_cast<int>(readLe(bytes, body + 2, 2)),
                static_cast<int>(readLe(bytes, body + 4, 4)), static_cast<int>(readLe(bytes, body + 12, 2)),
                static_cast<int>(readLe(bytes, body + 14, 2))};
        } else if (tagAt(bytes, at, "data")) {
            // The samples only mean something once their format is known.
            if (!fmt)
                return std::nullopt;
            const auto format = pcmFormat(*fmt);
            if (!format)
                return std::nullopt;
            const qint64 usable = std::min<qint64>(declared, available);
            const qint64 frames = usable / fmt->blockAlign;
            if (frames == 0)
                return std::nullopt;
            WavSound sound;
            sound.format = *format;
            sound.samples = bytes.mid(body, frames * fmt->blockAlign);
            sound.durationMs = (frames * 1000 + fmt->sampleRate - 1) / fmt->sampleRate;
            return sound;
        }
        // Chunks are padded to an even length.
        at = body + declared + (declared & 1);
    }
    return std::nullopt;
}

std::optional<WavSound> readWavFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestSoundFile)
        return std::nullopt;
    return parseWav(file.readAll());
}

}  // namespace kv
