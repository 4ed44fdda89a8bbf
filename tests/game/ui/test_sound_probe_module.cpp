// The probe module (see test_sound_probe.h), built as a library the player can load.
#include <QObject>
#include <QThread>
#include <QTimer>

#include <mutex>
#include <utility>

#include "tests/game/ui/test_sound_probe.h"
#include "game/ui/sound/sound_output.h"

namespace {

std::mutex recordMutex;
kv::probe::Record record;

template <typename Change>
void change(Change&& apply)
{
    const std::lock_guard lock(recordMutex);
    apply(record);
}

class ProbeOutput final : public QObject, public kv::SoundOutput {
public:
    ~ProbeOutput() override { finish(); }

    void play(const kv::WavSound& sound, std::function<void()> finished) override
    {
        finish();
        change([&](kv::probe::Record& r) {
            ++r.played;
            r.lastFormat = sound.format;
            r.lastSampleBytes = sound.samples.size();
        });
        finished_ = std::move(finished);
        const quint64 generation = ++generation_;
        if (sound.format.sampleRate == kv::probe::kStallingSampleRate)
            return;
        QTimer::singleShot(static_cast<int>(sound.durationMs), Qt::PreciseTimer, this, [this, generation] {
            if (generation == generation_)
                finish();
        });
    }

private:
    void finish()
    {
        if (!finished_)
            return;
        change([](kv::probe::Record& r) { ++r.finished; });
        std::exchange(finished_, nullptr)();
    }

    std::function<void()> finished_;
    quint64 generation_ = 0;
};

}  // namespace

extern "C" Q_DECL_EXPORT kv::SoundOutput* kv_create_sound_output(int interfaceVersion)
{
    if (interfaceVersion != kv::kSoundOutputInterface)
        return nullptr;
    change([](kv::probe::Record& r) {
        ++r.created;
        r.createdOn = QThread::currentThread();
    });
    return new ProbeOutput;
}

extern "C" Q_DECL_EXPORT kv::probe::Record kv_probe_record()
{
    const std::lock_guard lock(recordMutex);
    return record;
}
