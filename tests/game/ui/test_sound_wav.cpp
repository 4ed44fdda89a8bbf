#include "tests/game/ui/test_sound_wav.h"

#include <QFile>

namespace kv::testwav {

void appendLe(QByteArray& bytes, quint32 value, int width)
{
    for (int n = 0; n < width; ++n)
        bytes.append(static_cast<char>((value >> (8 * n)) & 0xFF));
}

QByteArray chunk(const char* tag, const QByteArray& body, quint32 declared)
{
    QByteArray bytes(tag, 4);
    appendLe(bytes, declared, 4);
    bytes += body;
    if (body.size() % 2 == 1)
        bytes.append('\0');
    return bytes;
}

QByteArray fmtBody(int tag, int channels, int rate, int bits, int blockAlign)
{
    QByteArray body;
    appendLe(body, tag, 2);
    appendLe(body, channels, 2);
    appendLe(body, rate, 4);
    appendLe(body, rate * blockAlign, 4);
    appendLe(body, blockAlign, 2);
    appendLe(body, bits, 2);
    return body;
}

QByteArray riff(const QByteArray& chunks)
{
    QByteArray bytes("RIFF");
    appendLe(bytes, 4 + chunks.size(), 4);
    return bytes + "WAVE" + chunks;
}

QByteArray silence(int frames, int rate)
{
    const QByteArray samples(frames * 2, '\0');
    return riff(chunk("fmt ", fmtBody(1, 1, rate, 16, 2), 16) +
                chunk("data", samples, static_cast<quint32>(samples.size())));
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.flush();
}

}  // namespace kv::testwav

char* kv::toString(const PcmFormat& format)
{
    return qstrdup(QStringLiteral("%1 Hz, %2 channels, %3 bits")
                       .arg(format.sampleRate)
                       .arg(format.channelCount)
                       .arg(format.bitsPerSample)
                       .toUtf8()
                       .constData());
}
