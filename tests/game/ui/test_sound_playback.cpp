// The sound module and the player playing through a real sound server: every sample reaches the
// server before the end is reported, a new sound cuts the one playing short, a waited-for sound
// holds the caller for its length, and a server that goes away and comes back is found again.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "tests/game/ui/sound_module.h"
#include "tests/game/ui/test_sound_server.h"
#include "tests/game/ui/test_sound_wav.h"
#include "game/ui/sound/sound_output.h"
#include "game/ui/sound_player.h"

using namespace kv;
using namespace kv::testserver;

namespace {

using test::soundModuleFactory;

WavSound tone(int frames, short value, int channels = 1, int bits = 16)
{
    const auto sound = parseWav(steadyTone(frames, value, channels, bits));
    if (!sound)
        qFatal("The test tone does not parse");
    return *sound;
}

// The position of the first sample with this value, or the length when there is none.
size_t firstOf(const std::vector<short>& samples, short value)
{
    return static_cast<size_t>(std::find(samples.begin(), samples.end(), value) - samples.begin());
}

constexpr short kFirst = 1000;
constexpr short kSecond = -2000;
// How much sooner than its length a sound may end: the server reads that far ahead.
constexpr int kReadAheadMs = 80;

}  // namespace

class SoundPlaybackTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QString reason;
        QVERIFY2(server_.start(&reason), qPrintable(reason));
        qputenv("XDG_RUNTIME_DIR", server_.runtimeFolder().toLocal8Bit());
        qunsetenv("PULSE_SERVER");
        qunsetenv("DISPLAY");
        QVERIFY(folder_.isValid());
    }

    void playsEverySampleBeforeReportingTheEnd_data()
    {
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("bits");
        QTest::newRow("16-bit mono, 300 ms") << 2400 << 1 << 16;
        QTest::newRow("8-bit stereo, 200 ms") << 1600 << 2 << 8;
        QTest::newRow("10 ms, less than the server waits for before it starts") << 80 << 1 << 16;
    }

    void playsEverySampleBeforeReportingTheEnd()
    {
        QFETCH(int, frames);
        QFETCH(int, channels);
        QFETCH(int, bits);
        const SinkRecording sink(server_.address());
        QVERIFY(sink.recording());
        const std::unique_ptr<SoundOutput> output(soundModuleFactory()(kSoundOutputInterface));
        const WavSound sound = tone(frames, 4096, channels, bits);
        int ends = 0;
        qint64 endedAfter = 0;
        QElapsedTimer clock;
        clock.start();
        output->play(sound, [&] {
            ++ends;
            endedAfter = clock.elapsed();
        });
        QTRY_COMPARE_WITH_TIMEOUT(ends, 1, 5000);
        QVERIFY2(endedAfter >= sound.durationMs - kReadAheadMs, qPrintable(QString::number(endedAfter)));
        // Each sample once, unchanged (8-bit 144 is 16-bit 4096; the two equal channels mixed
        // down to the sink's one).
        QTRY_COMPARE(sink.count(4096), frames);
        QTest::qWait(100);
        QCOMPARE(sink.count(4096), frames);
        QCOMPARE(ends, 1);
    }

    void aNewSoundReplacesTheOnePlayingAndTheEndOfTheOutputStopsIt()
    {
        const SinkRecording sink(server_.address());
        auto output = std::unique_ptr<SoundOutput>(soundModuleFactory()(kSoundOutputInterface));
        int ends[3] = {};
        output->play(tone(8000 * 30, kFirst), [&ends] { ++ends[0]; });
        QTRY_VERIFY(sink.count(kFirst) > 0);
        output->play(tone(1600, kSecond), [&ends] { ++ends[1]; });
        QCOMPARE(ends[0], 1);
        QTRY_COMPARE_WITH_TIMEOUT(ends[1], 1, 5000);
        QTRY_COMPARE(sink.count(kSecond), 1600);
        const std::vector<short> heard = sink.samples();
        const size_t second = firstOf(heard, kSecond);
        QCOMPARE(std::count(heard.begin() + static_cast<std::ptrdiff_t>(second), heard.end(), kFirst), 0);

        output->play(tone(8000 * 30, kFirst), [&ends] { ++ends[2]; });
        QTRY_VERIFY(sink.count(kFirst) > static_cast<int>(std::count(heard.begin(), heard.end(), kFirst)));
        output.reset();
        QCOMPARE(ends[2], 1);
        QTest::qWait(100);
        const int stopped = sink.count(kFirst);
        QTest::qWait(300);
        QCOMPARE(sink.count(kFirst), stopped);
        QCOMPARE(ends[0] + ends[1] + ends[2], 3);
    }

    void aServerThatGoesEndsTheSoundAndOneThatComesBackIsFound()
    {
        auto output = std::unique_ptr<SoundOutput>(soundModuleFactory()(kSoundOutputInterface));
        int ends[3] = {};
        {
            const SinkRecording sink(server_.address());
            output->play(tone(8000 * 30, kFirst), [&ends] { ++ends[0]; });
            QTRY_VERIFY(sink.count(kFirst) > 0);
        }
        server_.stop();
        QTRY_COMPARE_WITH_TIMEOUT(ends[0], 1, 5000);
        output->play(tone(800, kFirst), [&ends] { ++ends[1]; });
        QTRY_COMPARE_WITH_TIMEOUT(ends[1], 1, 5000);

        QString reason;
        QVERIFY2(server_.start(&reason), qPrintable(reason));
        const SinkRecording sink(server_.address());
        output->play(tone(800, kSecond), [&ends] { ++ends[2]; });
        QTRY_COMPARE_WITH_TIMEOUT(ends[2], 1, 5000);
        QTRY_COMPARE(sink.count(kSecond), 800);
    }

    // The game's two ways through the player and the module it loads: a waited-for sound
    // returns when its last sample has been played, one not waited for at once, and a waited-for
    // sound that replaces a long one waits for its own length only.
    void thePlayerWaitsForTheLastSampleOnlyWhenAskedTo()
    {
        const QString shortFile = folder_.filePath(QStringLiteral("short.wav"));
        const QString longFile = folder_.filePath(QStringLiteral("long.wav"));
        QVERIFY(testwav::writeFile(shortFile, steadyTone(2400, kSecond)));  // 300 ms
        QVERIFY(testwav::writeFile(longFile, steadyTone(8000 * 30, kFirst)));
        const SinkRecording sink(server_.address());
        SoundPlayer player(QStringLiteral(KV_SOUND_MODULE));
        QElapsedTimer clock;
        clock.start();
        player.play(shortFile, true);
        const qint64 waited = clock.elapsed();
        QVERIFY2(waited >= 300 - kReadAheadMs, qPrintable(QString::number(waited)));
        QTRY_COMPARE(sink.count(kSecond), 2400);

        clock.restart();
        player.play(longFile, false);
        QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed())));
        QTRY_VERIFY(sink.count(kFirst) > 0);
        clock.restart();
        player.play(shortFile, true);
        const qint64 replaced = clock.elapsed();
        QVERIFY2(replaced >= 300 - kReadAheadMs && replaced < 300 + SoundPlayer::kWaitMarginMs,
                 qPrintable(QString::number(replaced)));
        QTRY_COMPARE(sink.count(kSecond), 2 * 2400);
    }

private:
    NullSinkServer server_;
    QTemporaryDir folder_;
};

// Without the server program on this machine there is nothing to play through: the test is
// skipped (scripts/bootstrap installs it).
int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (NullSinkServer::program().isEmpty()) {
        std::puts("SKIP: no pulseaudio on this machine");
        return 77;
    }
    SoundPlaybackTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_sound_playback.moc"
