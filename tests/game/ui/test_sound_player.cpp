// The sound player and its module: loaded on the player thread at the first sound, waited for
// until the module reports the end (never longer than the bound), and silent without a module.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "tests/game/ui/test_sound_probe.h"
#include "tests/game/ui/test_sound_wav.h"
#include "game/ui/sound_player.h"

using namespace kv;
using namespace kv::testwav;

namespace {

probe::Record probeRecord()
{
    QLibrary module(QStringLiteral(KV_SOUND_PROBE_MODULE));
    const auto record = reinterpret_cast<probe::RecordFunction>(module.resolve(probe::kRecordFunctionName));
    if (record == nullptr)
        qFatal("The probe module does not load: %s", qPrintable(module.errorString()));
    return record();
}

}  // namespace

class SoundPlayerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(folder_.isValid());
        const auto write = [this](const char* name, const QByteArray& bytes) {
            const QString path = folder_.filePath(QString::fromLatin1(name));
            QVERIFY(writeFile(path, bytes));
        };
        write("short.wav", silence(1600));                                // 200 ms
        write("long.wav", silence(8000 * 30));                            // 30 s
        write("stalling.wav", silence(800, probe::kStallingSampleRate));  // 100 ms
        write("libkv5-sound.so", "\x7F"
                                 "ELF but nothing more");
    }

    void loadsTheModuleOnItsOwnThreadAtTheFirstSound()
    {
        const int before = probeRecord().created;
        SoundPlayer player(QStringLiteral(KV_SOUND_PROBE_MODULE));
        QCOMPARE(probeRecord().created, before);

        player.play(file("short.wav"), false);
        QTRY_COMPARE(probeRecord().created, before + 1);
        QVERIFY(probeRecord().createdOn != nullptr);
        QVERIFY(probeRecord().createdOn != QThread::currentThread());

        // One output serves every later sound.
        player.play(file("short.wav"), true);
        QCOMPARE(probeRecord().created, before + 1);
    }

    void aFirstSoundNobodyWaitsForLoadsTheModuleAMomentLater()
    {
        const auto before = probeRecord();
        SoundPlayer player(QStringLiteral(KV_SOUND_PROBE_MODULE));
        player.play(file("short.wav"), false);
        QTest::qWait(SoundPlayer::kFirstLoadDelayMs / 4);
        QCOMPARE(probeRecord().created, before.created);
        QTRY_COMPARE(probeRecord().created, before.created + 1);
        QTRY_COMPARE(probeRecord().played, before.played + 1);
    }

    void aWaitedForSoundLoadsAtOnceAndReplacesOneWaitingForTheModule()
    {
        const auto before = probeRecord();
        SoundPlayer player(QStringLiteral(KV_SOUND_PROBE_MODULE));
        player.play(file("long.wav"), false);
        player.play(file("short.wav"), true);
        QCOMPARE(probeRecord().created, before.created + 1);
        QCOMPARE(probeRecord().played, before.played + 1);
        QCOMPARE(probeRecord().lastSampleBytes, 3200);
        // The replaced sound does not turn up once the delay has passed.
        QTest::qWait(SoundPlayer::kFirstLoadDelayMs + 100);
        QCOMPARE(probeRecord().played, before.played + 1);
    }

    // The probe ends a sound after its length; a waiting call that returned on its own bound
    // would find the end not yet reported.
    void waitingReturnsWhenTheModuleReportsTheEnd()
    {
        const probe::Record before = probeRecord();
        SoundPlayer player(QStringLiteral(KV_SOUND_PROBE_MODULE));
        QElapsedTimer clock;
        clock.start();
        player.play(file("short.wav"), true);
        QVERIFY(clock.elapsed() >= 200);
        const probe::Record after = probeRecord();
        QCOMPARE(after.finished, before.finished + 1);
        // The sound is handed over as read.
        QCOMPARE(after.played, before.played + 1);
        QCOMPARE(after.lastFormat, (PcmFormat{8000, 1, 16}));
        QCOMPARE(after.lastSampleBytes, 3200);
    }

    void notWaitingReturnsBeforeTheEnd()
    {
        const probe::Record before = probeRecord();
        SoundPlayer player(QStringLiteral(KV_SOUND_PROBE_MODULE));
        player.play(file("long.wav"), false);
        QTRY_COMPARE(probeRecord().played, before.played + 1);
        QCOMPARE(probeRecord().finished, before.finished);
    }

    void waitingEndsAtTheBoundWhenTheEndIsNeverReported()
    {
        const probe::Record before = probeRecord();
        SoundPlayer player(QStringLiteral(KV_SOUND_PROBE_MODULE));
        QElapsedTimer clock;
        clock.start();
        player.play(file("stalling.wav"), true);
        const qint64 waited = clock.elapsed();
        QCOMPARE(probeRecord().played, before.played + 1);
        QCOMPARE(probeRecord().finished, before.finished);
        QVERIFY2(waited >= 100 + SoundPlayer::kWaitMarginMs, qPrintable(QString::number(waited)));
        // Generous: it only has to tell the bound from a hang.
        QVERIFY2(waited < 100 + SoundPlayer::kWaitMarginMs + 5000, qPrintable(QString::number(waited)));
    }

    // Without a usable module nothing plays, so nothing is waited for: a 30-second sound
    // returns long before its end.
    void withoutAModuleWaitingReturnsAtOnce_data()
    {
        QTest::addColumn<QString>("module");
        QTest::newRow("missing") << folder_.filePath(QStringLiteral("absent/libkv5-sound.so"));
        QTest::newRow("not a library") << folder_.filePath(QStringLiteral("libkv5-sound.so"));
        QTest::newRow("no factory") << QStringLiteral(KV_SOUND_NO_FACTORY_MODULE);
    }

    void withoutAModuleWaitingReturnsAtOnce()
    {
        QFETCH(QString, module);
        SoundPlayer player(module);
        QElapsedTimer clock;
        clock.start();
        player.play(file("long.wav"), true);
        player.play(file("long.wav"), true);
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
    }

    void missingSoundFileIsSilent()
    {
        const probe::Record before = probeRecord();
        SoundPlayer player(QStringLiteral(KV_SOUND_PROBE_MODULE));
        player.play(file("absent.wav"), true);
        player.play(file("short.wav"), true);
        QCOMPARE(probeRecord().played, before.played + 1);
    }

    void theModuleIsLookedForBesideTheProgram()
    {
        const QFileInfo module(SoundPlayer::moduleBesideProgram());
        QCOMPARE(module.absolutePath(), QCoreApplication::applicationDirPath());
        QCOMPARE(module.fileName(), QStringLiteral(KV_SOUND_MODULE_FILE));
    }

    // The game's own module, whether or not this machine has an audio device: waiting ends.
    void waitingForTheRealModuleEnds()
    {
        SoundPlayer player(QStringLiteral(KV_SOUND_MODULE));
        QElapsedTimer clock;
        clock.start();
        player.play(file("short.wav"), false);
        player.play(file("short.wav"), true);
        player.play(file("short.wav"), true);
        QVERIFY(clock.elapsed() < 2 * (200 + SoundPlayer::kWaitMarginMs) + 5000);
    }

private:
    QString file(const char* name) const { return folder_.filePath(QString::fromLatin1(name)); }

    QTemporaryDir folder_;
};

QTEST_GUILESS_MAIN(SoundPlayerTest)
#include "test_sound_player.moc"
