#include "ui/sound_player.h"

#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QMetaObject>
#include <QSemaphore>

#include <memory>

#include "ui/wav_file.h"

namespace kv {

// Everything on the player thread. One sound at a time: a new one stops the old one first.
class SoundWorker : public QObject {
public:
    using Finished = std::shared_ptr<QSemaphore>;

    void play(const WavSound& sound, Finished finished)
    {
        stop();
        finished_ = std::move(finished);
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull() || !device.isFormatSupported(sound.format)) {
            stop();
            return;
        }
        sink_ = new QAudioSink(device, sound.format, this);
        auto* buffer = new QBuffer(sink_);
        buffer->setData(sound.samples);
        buffer->open(QIODevice::ReadOnly);
        QObject::connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
            // Idle: every sample has been handed to the device. Stopped: an error ended it.
            if (state == QAudio::IdleState || state == QAudio::StoppedState)
                stop();
        });
        sink_->start(buffer);
        if (sink_ != nullptr && sink_->error() != QAudio::NoError)
            stop();
    }

private:
    void stop()
    {
        if (sink_ != nullptr) {
            QAudioSink* sink = sink_;
            sink_ = nullptr;
            sink->disconnect(this);
            sink->stop();
            // Possibly called from the sink's own signal: let it return first.
            sink->deleteLater();
        }
        if (finished_) {
            finished_->release();
            finished_.reset();
        }
    }

    QAudioSink* sink_ = nullptr;
    Finished finished_;
};

SoundPlayer::SoundPlayer() = default;

SoundPlayer::~SoundPlayer()
{
    thread_.quit();
    thread_.wait();
}

void SoundPlayer::startThread()
{
    worker_ = new SoundWorker;
    worker_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("kv sound"));
    thread_.start();
}

void SoundPlayer::play(const QString& file, bool waitUntilFinished)
{
    const auto sound = readWavFile(file);
    if (!sound)
        return;
    if (worker_ == nullptr)
        startThread();

    SoundWorker::Finished finished;
    if (waitUntilFinished)
        finished = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(
        worker_, [worker = worker_, sound = *sound, finished] { worker->play(sound, finished); },
        Qt::QueuedConnection);
    if (finished)
        finished->tryAcquire(1, static_cast<int>(sound->durationMs) + kWaitMarginMs);
}

}  // namespace kv
