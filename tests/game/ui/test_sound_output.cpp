// The sound module without a sound server: our sample layout in the server's terms, the factory
// it exports, and an output that reports the end of every sound at once and exactly once, says
// nothing about the missing server and starts none.
#include <QDir>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <functional>
#include <memory>
#include <unistd.h>

#include "tests/game/ui/sound_module.h"
#include "tests/game/ui/test_sound_wav.h"
#include "game/ui/sound/pulse_sample_format.h"
#include "game/ui/sound/sound_output.h"

using namespace kv;
using namespace kv::testwav;

Q_DECLARE_METATYPE(kv::PcmFormat)

namespace {

// What the process writes to its standard error while `act` runs.
QByteArray standardErrorOf(const std::function<void()>& act)
{
    QTemporaryFile file;
    file.open();
    const int saved = dup(STDERR_FILENO);
    dup2(file.handle(), STDERR_FILENO);
    act();
    dup2(saved, STDERR_FILENO);
    close(saved);
    file.seek(0);
    return file.readAll();
}

}  // namespace

class SoundOutputTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A desktop session whose sound server is not running, and no other way to one.
        QVERIFY(runtime_.isValid());
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
        qunsetenv("PULSE_SERVER");
        qunsetenv("DISPLAY");
    }

    void convertsTheSampleLayout_data()
    {
        QTest::addColumn<PcmFormat>("pcm");
        QTest::addColumn<int>("sampleFormat");  // -1: refused
        QTest::newRow("16-bit mono") << PcmFormat{44100, 1, 16} << int{PA_SAMPLE_S16LE};
        QTest::newRow("8-bit stereo") << PcmFormat{11025, 2, 8} << int{PA_SAMPLE_U8};
        QTest::newRow("32 channels") << PcmFormat{8000, 32, 16} << int{PA_SAMPLE_S16LE};
        QTest::newRow("24-bit") << PcmFormat{8000, 1, 24} << -1;
        QTest::newRow("32-bit") << PcmFormat{8000, 1, 32} << -1;
        QTest::newRow("no channels") << PcmFormat{8000, 0, 16} << -1;
        QTest::newRow("33 channels") << PcmFormat{8000, 33, 16} << -1;
        QTest::newRow("no sample rate") << PcmFormat{0, 1, 16} << -1;
        QTest::newRow("a rate above the server's") << PcmFormat{400000, 1, 16} << -1;
    }

    void convertsTheSampleLayout()
    {
        QFETCH(PcmFormat, pcm);
        QFETCH(int, sampleFormat);
        const auto spec = toSampleSpec(pcm);
        QCOMPARE(spec.has_value(), sampleFormat >= 0);
        if (!spec)
            return;
        QCOMPARE(int{spec->format}, sampleFormat);
        QCOMPARE(static_cast<int>(spec->rate), pcm.sampleRate);
        QCOMPARE(static_cast<int>(spec->channels), pcm.channelCount);
    }

    void exportsTheFactoryForItsOwnInterfaceOnly()
    {
        const SoundOutputFactory factory = test::soundModuleFactory();
        QVERIFY(factory != nullptr);
        QVERIFY(factory(kSoundOutputInterface + 1) == nullptr);
        const std::unique_ptr<SoundOutput> output(factory(kSoundOutputInterface));
        QVERIFY(output != nullptr);
    }

    // Sound after sound, replaced, refused, and the output destroyed: each one ends once, without
    // a word on standard error and without a server started on the session's behalf.
    void withoutAServerEverySoundEndsOnceAndQuietly()
    {
        QCOMPARE(standardErrorOf([this] { playEveryKindOfEnd(); }), QByteArray());
        // The client library makes its folder there, but no server put its socket into it.
        const QStringList left = QDir(runtime_.filePath(QStringLiteral("pulse")))
                                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
    }

private:
    static void playEveryKindOfEnd()
    {
        auto output = std::unique_ptr<SoundOutput>(test::soundModuleFactory()(kSoundOutputInterface));
        const auto longSound = parseWav(silence(8000 * 30));  // 30 s
        QVERIFY(longSound.has_value());
        WavSound refused;
        refused.format = PcmFormat{8000, 1, 24};
        refused.samples = QByteArray(300, '\0');
        refused.durationMs = 12;

        int ends[4] = {};
        output->play(*longSound, [&ends] { ++ends[0]; });
        output->play(*longSound, [&ends] { ++ends[1]; });
        QCOMPARE(ends[0], 1);
        QTRY_COMPARE_WITH_TIMEOUT(ends[1], 1, 5000);
        output->play(refused, [&ends] { ++ends[2]; });
        QCOMPARE(ends[2], 1);
        output->play(*longSound, [&ends] { ++ends[3]; });
        output.reset();
        QCOMPARE(ends[3], 1);
        QTest::qWait(50);
        QCOMPARE(ends[0] + ends[1] + ends[2] + ends[3], 4);
    }

    QTemporaryDir runtime_;
};

QTEST_GUILESS_MAIN(SoundOutputTest)
#include "test_sound_output.moc"
