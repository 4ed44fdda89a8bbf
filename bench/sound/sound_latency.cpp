// How soon a sound the game starts without waiting (as a drop does) reaches the sound server:
// from SoundPlayer::play() on the calling thread to the first of its samples coming out of the
// monitor of the server's sink, through the sound module given.
//
//   sound_latency MODULE WAV RUNS
//   -> one line per sound: "first_ms=<ms>" for the first (the module loaded and connected on
//      the way), then "ms=<ms>" for each later one
//
// The server is the session's (XDG_RUNTIME_DIR); compare-latency.sh starts one with a null sink
// named "null". The monitor is read in 1 ms blocks at the sound's rate, in mono; the time is that
// of the block holding the first sample that is not silent, less that sample's offset in the file.
#include <QCoreApplication>
#include <QString>

#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "game/ui/sound_player.h"
#include "game/ui/wav_file.h"

namespace {

using Clock = std::chrono::steady_clock;

// Reads the sink's monitor and keeps the time of the latest block that was not silent.
class MonitorWatch {
public:
    explicit MonitorWatch(int rate)
    {
        const pa_sample_spec spec{PA_SAMPLE_S16LE, static_cast<uint32_t>(rate), 1};
        block_ = std::max(1, rate / 1000);
        const auto bytes = static_cast<uint32_t>(block_ * 2);
        const pa_buffer_attr buffer{static_cast<uint32_t>(-1), 0, 0, 0, bytes};
        int error = 0;
        source_ = pa_simple_new(nullptr, "kv sound latency", PA_STREAM_RECORD, "null.monitor", "monitor",
                                &spec, nullptr, &buffer, &error);
        if (source_ != nullptr)
            thread_ = std::thread([this] { run(); });
    }
    ~MonitorWatch()
    {
        stopping_ = true;
        if (thread_.joinable())
            thread_.join();
        if (source_ != nullptr)
            pa_simple_free(source_);
    }
    MonitorWatch(const MonitorWatch&) = delete;
    MonitorWatch& operator=(const MonitorWatch&) = delete;

    bool watching() const { return source_ != nullptr; }
    // The time of the first block after `since` that was not silent.
    bool heardSince(Clock::time_point since, Clock::time_point& at) const
    {
        const Clock::time_point first{Clock::duration(firstHeard_.load())};
        if (first <= since)
            return false;
        at = first;
        return true;
    }
    // Forgets what was heard; the next block that is not silent counts again.
    void rearm() { armed_ = true; }
    Clock::time_point lastHeard() const { return Clock::time_point{Clock::duration(lastHeard_.load())}; }

private:
    void run()
    {
        std::vector<short> samples(static_cast<size_t>(block_));
        int error = 0;
        while (!stopping_ && pa_simple_read(source_, samples.data(), samples.size() * 2, &error) == 0) {
            const bool sound = std::any_of(samples.begin(), samples.end(), [](short s) { return s != 0; });
            if (!sound)
                continue;
            const auto now = Clock::now().time_since_epoch().count();
            lastHeard_ = now;
            if (armed_.exchange(false))
                firstHeard_ = now;
        }
    }

    pa_simple* source_ = nullptr;
    int block_ = 1;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> armed_{false};
    std::atomic<Clock::rep> firstHeard_{0};
    std::atomic<Clock::rep> lastHeard_{0};
    std::thread thread_;
};

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: sound_latency MODULE WAV RUNS\n");
        return 2;
    }
    const QString wavPath = QString::fromLocal8Bit(argv[2]);
    const auto sound = kv::readWavFile(wavPath);
    if (!sound || sound->format.bitsPerSample != 16) {
        std::fprintf(stderr, "sound_latency: %s is no 16-bit WAV file\n", argv[2]);
        return 1;
    }
    // The first sample that is not silent, and how long into the sound it comes.
    const auto* samples = reinterpret_cast<const short*>(sound->samples.constData());
    const auto count = static_cast<size_t>(sound->samples.size() / 2);
    const size_t first =
        static_cast<size_t>(std::find_if(samples, samples + count, [](short s) { return s != 0; }) - samples);
    const auto offset = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
        static_cast<double>(first / static_cast<size_t>(sound->format.channelCount)) /
        sound->format.sampleRate));

    MonitorWatch monitor(sound->format.sampleRate);
    if (!monitor.watching()) {
        std::fprintf(stderr, "sound_latency: no sound server with a sink \"null\"\n");
        return 1;
    }
    kv::SoundPlayer player(QString::fromLocal8Bit(argv[1]));
    const int runs = std::atoi(argv[3]);
    for (int run = 0; run < runs; ++run) {
        // Starts in silence: what was played before has ended.
        while (Clock::now() - monitor.lastHeard() < std::chrono::milliseconds(300))
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        monitor.rearm();
        const Clock::time_point dropped = Clock::now();
        player.play(wavPath, false);
        Clock::time_point heard;
        while (!monitor.heardSince(dropped, heard)) {
            if (Clock::now() - dropped > std::chrono::seconds(10)) {
                std::fprintf(stderr, "sound_latency: the sound never reached the sink\n");
                return 1;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        std::printf("%s=%.2f\n", run == 0 ? "first_ms" : "ms", ms(heard - dropped - offset));
        std::fflush(stdout);
    }
    return 0;
}
