#include "game/ui/sound_player.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QMetaObject>
#include <QSemaphore>
#include <QTimer>

#include <memory>
#include <optional>
#include <utility>

#include "desktop/trusted_folder.h"
#include "game/ui/sound/sound_output.h"
#include "game/ui/wav_file.h"

namespace kv {
namespace {

std::unique_ptr<SoundOutput> loadOutput(const QString& modulePath)
{
    // The module is code: none is loaded from a folder whose files others could replace, as
    // anyone may in a download folder like /tmp. The game is silent then.
    if (!onlyTrustedCanChange(QFileInfo(modulePath).absolutePath().toStdString(), geteuid()))
        return nullptr;
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
        if (loaded_) {
            playLoaded(sound, finished);
            return;
        }
        // Loading the audio libraries competes with the window's first frame for the processor
        // and the dynamic loader. A sound nobody waits for (the start sound) can begin a moment
        // later; a sound the game waits for loads the module at once. A newer sound replaces
        // one still waiting for the module, as it would replace one playing.
        releasePending();
        pending_ = Pending{sound, finished};
        if (finished) {
            load();
        } else if (!loadScheduled_) {
            loadScheduled_ = true;
            QTimer::singleShot(SoundPlayer::kFirstLoadDelayMs, this, [this] { load(); });
        }
    }

    ~SoundModuleHost() override { releasePending(); }

private:
    struct Pending {
        WavSound sound;
        Finished finished;
    };

    void load()
    {
        if (loaded_)
            return;
        loaded_ = true;
        output_ = loadOutput(modulePath_);
        if (pending_) {
            const Pending pending = std::move(*pending_);
            pending_.reset();
            playLoaded(pending.sound, pending.finished);
        }
    }

    void playLoaded(const WavSound& sound, const Finished& finished)
    {
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

    void releasePending()
    {
        if (pending_ && pending_->finished)
            pending_->finished->release();
        pending_.reset();
    }

    const QString modulePath_;
    bool loaded_ = false;
    bool loadScheduled_ = false;
    std::optional<Pending> pending_;
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
