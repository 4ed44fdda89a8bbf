#include "tests/game/ui/test_sound_server.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <pulse/simple.h>

#include <algorithm>

#include "tests/game/ui/test_sound_wav.h"

namespace kv::testserver {

NullSinkServer::NullSinkServer() = default;

NullSinkServer::~NullSinkServer()
{
    stop();
}

QString NullSinkServer::program()
{
    return QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
}

bool NullSinkServer::start(QString* reason)
{
    if (!folder_.isValid()) {
        *reason = QStringLiteral("no temporary folder");
        return false;
    }
    // No configuration, cookie or D-Bus of the machine's: only what is named here. The sink never
    // rewinds: a rewinding sink mixes a new stream into samples its monitor has already handed
    // out, and the recording would miss the first milliseconds of every sound.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder_.path());
    environment.insert(QStringLiteral("HOME"), folder_.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder_.filePath(QStringLiteral("config")));
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    environment.remove(QStringLiteral("DISPLAY"));
    server_.setProcessEnvironment(environment);
    // Its complaints (as root it warns that it is not meant for root) go to a file of its own.
    server_.setStandardOutputFile(QProcess::nullDevice());
    server_.setStandardErrorFile(folder_.filePath(QStringLiteral("server.log")), QIODevice::Append);
    server_.start(
        program(),
        {QStringLiteral("--daemonize=no"), QStringLiteral("-n"), QStringLiteral("--exit-idle-time=-1"),
         QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1"),
         QStringLiteral("--load=module-null-sink sink_name=null rate=%1 format=s16le channels=1 norewinds=1")
             .arg(kSinkRate)});
    if (!server_.waitForStarted(5000)) {
        *reason = QStringLiteral("pulseaudio does not start: ") + server_.errorString();
        return false;
    }
    const QString socket = folder_.filePath(QStringLiteral("pulse/native"));
    const QDeadlineTimer deadline(10000);
    while (!QFileInfo(socket).exists() && !deadline.hasExpired() && server_.state() == QProcess::Running)
        QThread::msleep(10);
    if (!QFileInfo(socket).exists()) {
        *reason = QStringLiteral("pulseaudio made no socket");
        return false;
    }
    return true;
}

void NullSinkServer::stop()
{
    if (server_.state() == QProcess::NotRunning)
        return;
    server_.terminate();
    if (!server_.waitForFinished(5000))
        server_.kill();
    server_.waitForFinished(5000);
    QFile::remove(folder_.filePath(QStringLiteral("pulse/native")));
}

SinkRecording::SinkRecording(const QString& serverAddress)
{
    thread_ = std::thread([this, address = serverAddress.toUtf8()] { run(address); });
    const QDeadlineTimer deadline(5000);
    while (!recording_ && !stopping_ && !deadline.hasExpired())
        QThread::msleep(5);
}

SinkRecording::~SinkRecording()
{
    stopping_ = true;
    thread_.join();
}

void SinkRecording::run(const QByteArray& address)
{
    const pa_sample_spec spec{PA_SAMPLE_S16LE, kSinkRate, 1};
    // Small fragments: the samples arrive within milliseconds of being played.
    const pa_buffer_attr buffer{static_cast<uint32_t>(-1), 0, 0, 0, 160};
    int error = 0;
    pa_simple* source = pa_simple_new(address.constData(), "kv test", PA_STREAM_RECORD, "null.monitor",
                                      "monitor", &spec, nullptr, &buffer, &error);
    if (source == nullptr) {
        stopping_ = true;
        return;
    }
    recording_ = true;
    short block[80];
    while (!stopping_ && pa_simple_read(source, block, sizeof block, &error) == 0) {
        const std::lock_guard lock(mutex_);
        samples_.insert(samples_.end(), std::begin(block), std::end(block));
    }
    recording_ = false;
    pa_simple_free(source);
}

std::vector<short> SinkRecording::samples() const
{
    const std::lock_guard lock(mutex_);
    return samples_;
}

int SinkRecording::count(short value) const
{
    const std::lock_guard lock(mutex_);
    return static_cast<int>(std::count(samples_.begin(), samples_.end(), value));
}

QByteArray steadyTone(int frames, short value, int channels, int bits)
{
    QByteArray samples;
    for (int n = 0; n < frames * channels; ++n) {
        if (bits == 8)
            samples.append(static_cast<char>(value / 256 + 128));
        else
            testwav::appendLe(samples, static_cast<quint16>(value), 2);
    }
    const int blockAlign = channels * bits / 8;
    return testwav::riff(
        testwav::chunk("fmt ", testwav::fmtBody(1, channels, kSinkRate, bits, blockAlign), 16) +
        testwav::chunk("data", samples, static_cast<quint32>(samples.size())));
}

}  // namespace kv::testserver
