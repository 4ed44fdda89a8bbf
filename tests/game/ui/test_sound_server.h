// A private PulseAudio server for the tests: one null sink at 8 kHz, 16-bit mono, in a runtime
// folder of its own, and a recording of what that sink plays.
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace kv::testserver {

inline constexpr int kSinkRate = 8000;

class NullSinkServer {
public:
    NullSinkServer();
    ~NullSinkServer();

    // The server program, or an empty string when the machine has none.
    static QString program();
    // Starts the server and waits until it takes clients; false (with the reason) when it
    // does not. Clients find it through XDG_RUNTIME_DIR, as on a desktop.
    bool start(QString* reason);
    void stop();
    QString runtimeFolder() const { return folder_.path(); }
    QString address() const
    {
        return QStringLiteral("unix:") + folder_.filePath(QStringLiteral("pulse/native"));
    }

private:
    QTemporaryDir folder_;
    QProcess server_;
};

// Records the null sink's monitor from construction on, on a thread of its own.
class SinkRecording {
public:
    explicit SinkRecording(const QString& serverAddress);
    ~SinkRecording();
    SinkRecording(const SinkRecording&) = delete;
    SinkRecording& operator=(const SinkRecording&) = delete;

    bool recording() const { return recording_; }
    std::vector<short> samples() const;
    // How many samples so far have exactly this value.
    int count(short value) const;

private:
    void run(const QByteArray& address);

    mutable std::mutex mutex_;
    std::vector<short> samples_;
    std::atomic<bool> recording_{false};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

// A WAV file of `frames` frames that all hold `value` (16-bit) or `value / 256 + 128` (8-bit).
QByteArray steadyTone(int frames, short value, int channels = 1, int bits = 16);

}  // namespace kv::testserver
