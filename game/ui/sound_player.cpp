#include "ui/sound_player.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QMetaObject>
#include <QSemaphore>

#include <memory>
#include <utility>

#include "ui/sound/sound_output.h"
#include "ui/wav_file.h"

namespace kv {
namespace {

std::unique_ptr<SoundOutput> loadOutput(const QString& modulePath)
{
    QLibrary module(modulePath);
    // Never unloaded: the audio system keeps threads and state that outlive any one output.
    module.setLoadHints(QLibrary::PreventUnloadHint);
    const auto factory = reinterpret_cast<SoundOutputFactory>(module.resolve(kSoundOutputFactoryName));
    if (factory == nullptr)
        return nullptr;
    return std::unique_ptr<SoundOutput>(factory(kSoundOutputInterface));
}

}  // namespace

// Everything on the player thread: the module is loaded, and the output created, used and
// destroyed there.
class SoundModuleHost : public QObject {
public:
    using Finished = std::shared_ptr<QSemaphore>;

    explicit SoundModuleHost(QString modulePath) : modulePath_(std::move(modulePath)) {}

    void play(const WavSound& sound, const Finished& finished)
    {
        if (!loadTried_) {
            loadTried_ = true;
            output_ = loadOutput(modulePath_);
        }
        auto release = [finished] {
            if (finished)
                finished->release();
        };
        if (output_ == nullptr) {
            release();
            return;
        }
        output_->play(sound, std::move(release));
    }

private:
    const QString modulePath_;
    bool loadTried_ = false;
    std::unique_ptr<SoundOutput> output_;
};

SoundPlayer::SoundPlayer() : SoundPlayer(moduleBesideProgram()) {}

SoundPlayer::SoundPlayer(QString modulePath) : modulePath_(std::move(modulePath)) {}

SoundPlayer::~SoundPlayer()
{
    thread_.quit();
    thread_.wait();
}

QString SoundPlayer::moduleBesideProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/" KV_SOUND_MODULE_FILE);
}

void SoundPlayer::startThread()
{
    host_ = new SoundModuleHost(modulePath_);
    host_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, host_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("kv sound"));
    thread_.start();
}

void SoundPlayer::play(const QString& file, bool waitUntilFinished)
{
    const auto sound = readWavFile(file);
    if (!sound)
        return;
    if (host_ == nullptr)
        startThread();

    SoundModuleHost::Finished finished;
    if (waitUntilFinished)
        finished = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(
        host_, [host = host_, sound = *sound, finished] { host->play(sound, finished); },
        Qt::QueuedConnection);
    if (finished)
        finished->tryAcquire(1, static_cast<int>(sound->durationMs) + kWaitMarginMs);
}

}  // namespace kv
