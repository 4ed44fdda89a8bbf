// The sound module itself: our sample layout in Qt Multimedia's terms, and the output it exports,
// which reports the end of every sound, played or not, exactly once.
#include <QLibrary>
#include <QTest>

#include <memory>

#include "test_sound_wav.h"
#include "ui/sound/pcm_audio_format.h"
#include "ui/sound/sound_output.h"

using namespace kv;
using namespace kv::testwav;

class SoundOutputTest : public QObject {
    Q_OBJECT

private slots:
    void convertsTheSampleLayout()
    {
        const auto mono = toAudioFormat(PcmFormat{44100, 1, 16});
        QVERIFY(mono.has_value());
        QCOMPARE(mono->sampleFormat(), QAudioFormat::Int16);
        QCOMPARE(mono->sampleRate(), 44100);
        QCOMPARE(mono->channelCount(), 1);

        const auto stereo = toAudioFormat(PcmFormat{11025, 2, 8});
        QVERIFY(stereo.has_value());
        QCOMPARE(stereo->sampleFormat(), QAudioFormat::UInt8);
        QCOMPARE(stereo->sampleRate(), 11025);
        QCOMPARE(stereo->channelCount(), 2);
        QCOMPARE(stereo->bytesPerFrame(), 2);
    }

    void refusesLayoutsWithoutASampleFormat()
    {
        QVERIFY(!toAudioFormat(PcmFormat{8000, 1, 24}).has_value());
        QVERIFY(!toAudioFormat(PcmFormat{8000, 1, 32}).has_value());
        QVERIFY(!toAudioFormat(PcmFormat{8000, 0, 16}).has_value());
        QVERIFY(!toAudioFormat(PcmFormat{0, 1, 16}).has_value());
    }

    void exportsTheFactoryForItsOwnInterfaceOnly()
    {
        const SoundOutputFactory factory = moduleFactory();
        QVERIFY(factory != nullptr);
        QVERIFY(factory(kSoundOutputInterface + 1) == nullptr);
        const std::unique_ptr<SoundOutput> output(factory(kSoundOutputInterface));
        QVERIFY(output != nullptr);
    }

    // With or without an audio device: played to its end, or refused at once.
    void reportsTheEndOfEverySoundOnce()
    {
        const std::unique_ptr<SoundOutput> output(moduleFactory()(kSoundOutputInterface));
        const auto sound = parseWav(silence(800));  // 100 ms
        QVERIFY(sound.has_value());
        int ends = 0;
        output->play(*sound, [&ends] { ++ends; });
        QTRY_COMPARE_WITH_TIMEOUT(ends, 1, 5000);
        QTest::qWait(50);
        QCOMPARE(ends, 1);
    }

    void aNewSoundOrTheEndOfTheOutputEndsTheOneStillPlaying()
    {
        auto output = std::unique_ptr<SoundOutput>(moduleFactory()(kSoundOutputInterface));
        const auto sound = parseWav(silence(8000 * 30));  // 30 s
        QVERIFY(sound.has_value());
        int firstEnds = 0;
        int secondEnds = 0;
        output->play(*sound, [&firstEnds] { ++firstEnds; });
        output->play(*sound, [&secondEnds] { ++secondEnds; });
        QCOMPARE(firstEnds, 1);
        output.reset();
        QCOMPARE(secondEnds, 1);
    }

    void aLayoutTheAudioSystemCannotTakeEndsAtOnce()
    {
        const std::unique_ptr<SoundOutput> output(moduleFactory()(kSoundOutputInterface));
        WavSound sound;
        sound.format = PcmFormat{8000, 1, 24};
        sound.samples = QByteArray(300, '\0');
        sound.durationMs = 12;
        int ends = 0;
        output->play(sound, [&ends] { ++ends; });
        QCOMPARE(ends, 1);
    }

private:
    static SoundOutputFactory moduleFactory()
    {
        QLibrary module(QStringLiteral(KV_SOUND_MODULE));
        const auto factory = reinterpret_cast<SoundOutputFactory>(module.resolve(kSoundOutputFactoryName));
        if (factory == nullptr)
            qFatal("The sound module does not load: %s", qPrintable(module.errorString()));
        return factory;
    }
};

QTEST_GUILESS_MAIN(SoundOutputTest)
#include "test_sound_output.moc"
