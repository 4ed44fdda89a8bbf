// Reads the PCM WAV files the game ships: their sample format and samples, nothing else.
#pragma once

#include <QAudioFormat>
#include <QByteArray>
#include <QString>

#include <optional>

namespace kv {

struct WavSound {
    QAudioFormat format;
    QByteArray samples;       // whole frames only
    qint64 durationMs = 0;    // rounded up
};

// 8-bit unsigned or 16-bit signed PCM, 1 to 8 channels. Unknown chunks are skipped; a data chunk
// that claims more bytes than the file holds is played as far as it goes. Anything else
// (no RIFF/WAVE, compressed formats, no data) gives nothing.
std::optional<WavSound> parseWav(const QByteArray& bytes);

// Files above a few megabytes are refused without being read: the game's sounds are short.
std::optional<WavSound> readWavFile(const QString& path);

}  // namespace kv
