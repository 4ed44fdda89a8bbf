// Reading the game's WAV files, and a player that never hangs the game: missing files, no audio
// device and sounds to be waited for.
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include "ui/sound_player.h"
#include "ui/wav_file.h"

using namespace kv;

namespace {

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

// Silent 16-bit mono PCM of `frames` frames at 8000 Hz.
QByteArray silence(int frames)
{
    const QByteArray samples(frames * 2, '\0');
    return riff(chunk("fmt ", fmtBody(1, 1, 8000, 16, 2), 16) +
                chunk("data", samples, static_cast<quint32>(samples.size())));
}

}  // namespace

class SoundTest : public QObject {
    Q_OBJECT

private slots:
    void readsPcmFormatAndLength()
    {
        const auto sound = parseWav(silence(800));
        QVERIFY(sound.has_value());
        QCOMPARE(sound->format.sampleRate(), 8000);
        QCOMPARE(sound->format.channelCount(), 1);
        QCOMPARE(sound->format.sampleFormat(), QAudioFormat::Int16);
        QCOMPARE(sound->samples.size(), 1600);
        QCOMPARE(sound->durationMs, 100);
    }

    void skipsUnknownChunksWithTheirPadding()
    {
        const QByteArray samples(4 * 3, '\x01');
        const QByteArray bytes = riff(chunk("LIST", "abc", 3) + chunk("fmt ", fmtBody(1, 2, 11025, 8, 2), 16) +
                                      chunk("data", samples, static_cast<quint32>(samples.size())));
        const auto sound = parseWav(bytes);
        QVERIFY(sound.has_value());
        QCOMPARE(sound->format.sampleFormat(), QAudioFormat::UInt8);
        QCOMPARE(sound->format.channelCount(), 2);
        QCOMPARE(sound->samples, samples);
        QCOMPARE(sound->durationMs, 1);  // 6 frames at 11025 Hz, rounded up
    }

    void playsATruncatedDataChunkAsFarAsItGoes()
    {
        // Claims 1000 bytes, holds 7: three whole stereo frames of 16 bits would need 12.
        const QByteArray bytes = riff(chunk("fmt ", fmtBody(1, 1, 8000, 16, 2), 16)) + "data" +
                                 QByteArray("\xE8\x03\x00\x00", 4) + QByteArray(7, '\x02');
        const auto sound = parseWav(bytes);
        QVERIFY(sound.has_value());
        QCOMPARE(sound->samples.size(), 6);
    }

    void refusesWhatItCannotPlay_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray samples(16, '\0');
        const QByteArray data = chunk("data", samples, 16);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not RIFF") << QByteArray("RIFX") + silence(8).mid(4);
        QTest::newRow("not WAVE") << silence(8).replace(8, 4, "AVI ");
        QTest::newRow("float samples") << riff(chunk("fmt ", fmtBody(3, 1, 8000, 32, 4), 16) + data);
        QTest::newRow("24-bit") << riff(chunk("fmt ", fmtBody(1, 1, 8000, 24, 3), 16) + data);
        QTest::newRow("block size lies") << riff(chunk("fmt ", fmtBody(1, 2, 8000, 16, 2), 16) + data);
        QTest::newRow("no channels") << riff(chunk("fmt ", fmtBody(1, 0, 8000, 16, 0), 16) + data);
        QTest::newRow("no sample rate") << riff(chunk("fmt ", fmtBody(1, 1, 0, 16, 2), 16) + data);
        QTest::newRow("data before format") << riff(data + chunk("fmt ", fmtBody(1, 1, 8000, 16, 2), 16));
        QTest::newRow("short format") << riff(chunk("fmt ", fmtBody(1, 1, 8000, 16, 2).left(10), 10) + data);
        QTest::newRow("no data") << riff(chunk("fmt ", fmtBody(1, 1, 8000, 16, 2), 16));
        QTest::newRow("no whole frame") << riff(chunk("fmt ", fmtBody(1, 1, 8000, 16, 2), 16) + chunk("data", "x", 1));
        QTest::newRow("chunk size past the end") << riff(chunk("LIST", "", 0xFFFFFFF0u));
    }

    void refusesWhatItCannotPlay()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!parseWav(bytes).has_value());
    }

    void missingFileIsSilent()
    {
        QVERIFY(!readWavFile(QStringLiteral("/nonexistent/sounds/sound1.wav")).has_value());
        SoundPlayer player;
        player.play(QStringLiteral("/nonexistent/sounds/sound7.wav"), true);
    }

    // Whether or not this machine has an audio device, waiting ends: at the sound's end, or at
    // once when nothing can play. The bound is generous; it only has to tell ending from hanging.
    void waitingForASoundEnds()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString file = folder.filePath(QStringLiteral("short.wav"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(silence(1600));  // 200 ms
        out.close();

        SoundPlayer player;
        player.play(file, false);
        QElapsedTimer clock;
        clock.start();
        player.play(file, true);
        player.play(file, true);
        QVERIFY(clock.elapsed() < 2 * (200 + SoundPlayer::kWaitMarginMs) + 2000);
    }
};

QTEST_MAIN(SoundTest)
#include "test_sound.moc"
