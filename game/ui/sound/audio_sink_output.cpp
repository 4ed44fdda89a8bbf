#include "ui/sound/audio_sink_output.h"

#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

#include <utility>

#include "ui/sound/pcm_audio_format.h"

namespace kv {

AudioSinkOutput::~AudioSinkOutput()
{
    stop();
}

void AudioSinkOutput::play(const WavSound& sound, std::function<void()> finished)
{
    stop();
    finished_ = std::move(finished);
    const auto format = toAudioFormat(sound.format);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (!format || device.isNull() || !device.isFormatSupported(*format)) {
        stop();
        return;
    }
    sink_ = new QAudioSink(device, *format, this);
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

void AudioSinkOutput::stop()
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
        // Cleared before the call, which may start the next sound.
        auto finished = std::exchange(finished_, nullptr);
        finished();
    }
}

}  // namespace kv
