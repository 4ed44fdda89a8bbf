// WAV bytes built in the tests, so each case shows exactly what the file holds.
#pragma once

#include <QByteArray>
#include <QString>

#include "game/ui/wav_file.h"

namespace kv::testwav {

void appendLe(QByteArray& bytes, quint32 value, int width);
QByteArray chunk(const char* tag, const QByteArray& body, quint32 declared);
QByteArray fmtBody(int tag, int channels, int rate, int bits, int blockAlign);
QByteArray riff(const QByteArray& chunks);

// Silent 16-bit mono PCM of `frames` frames at `rate` Hz.
QByteArray silence(int frames, int rate = 8000);

// Writes `bytes` to `path`; false when it cannot.
bool writeFile(const QString& path, const QByteArray& bytes);

}  // namespace kv::testwav

namespace kv {
// For Qt Test's failure messages.
char* toString(const PcmFormat& format);
}  // namespace kv
