// Reads the PCM WAV files the game ships: their sample format and samples, nothing else.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kv {

// The sample layout as plain numbers, so that reading a sound needs no audio library; the sound
// module turns it into the audio system's own format.
struct PcmFormat {
    int sampleRate = 0;
    int channelCount = 0;
    int bitsPerSample = 0;  // 8: unsigned samples, 16: signed little-endian samples

    friend bool operator==(const PcmFormat&, const PcmFormat&) = default;
};

struct WavSound {
    PcmFormat format;
    QByteArray samples;     // whole frames only
    qint64 durationMs = 0;  // rounded up
};

// 8-bit unsigned or 16-bit signed PCM, 1 to 8 channels. Unknown chunks are skipped; a data chunk
// that claims more bytes than the file holds is played as far as it goes. Anything else
// (no RIFF/WAVE, compressed formats, no data) gives nothing.
std::optional<WavSound> parseWav(const QByteArray& bytes);

// Files above a few megabytes are refused without being read: the game's sounds are short.
std::optional<WavSound> readWavFile(const QString& path);

}  // namespace kv
