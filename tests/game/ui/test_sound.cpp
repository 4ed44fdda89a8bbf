// Reading the game's WAV files: the sample layout and samples of what can be played, nothing of
// what cannot.
#include <QTest>

#include "tests/game/ui/test_sound_wav.h"
#include "game/ui/wav_file.h"

using namespace kv;
using namespace kv::testwav;

class SoundTest : public QObject {
    Q_OBJECT

private slots:
    void readsPcmFormatAndLength()
    {
        const auto sound = parseWav(silence(800));
        QVERIFY(sound.has_value());
        QCOMPARE(sound->format, (PcmFormat{8000, 1, 16}));
        QCOMPARE(sound->samples.size(), 1600);
        QCOMPARE(sound->durationMs, 100);
    }

    void skipsUnknownChunksWithTheirPadding()
    {
        const QByteArray samples(4 * 3, '\x01');
        const QByteArray bytes =
            riff(chunk("LIST", "abc", 3) + chunk("fmt ", fmtBody(1, 2, 11025, 8, 2), 16) +
                 chunk("data", samples, static_cast<quint32>(samples.size())));
        const auto sound = parseWav(bytes);
        QVERIFY(sound.has_value());
        QCOMPARE(sound->format, (PcmFormat{11025, 2, 8}));
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
        QTest::newRow("no whole frame")
            << riff(chunk("fmt ", fmtBody(1, 1, 8000, 16, 2), 16) + chunk("data", "x", 1));
        QTest::newRow("chunk size past the end") << riff(chunk("LIST", "", 0xFFFFFFF0u));
    }

    void refusesWhatItCannotPlay()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!parseWav(bytes).has_value());
    }

    void missingFileGivesNothing()
    {
        QVERIFY(!readWavFile(QStringLiteral("/nonexistent/sounds/sound1.wav")).has_value());
    }
};

QTEST_GUILESS_MAIN(SoundTest)
#include "test_sound.moc"
