// The game's one connection to the sound server: libpulse's threaded main loop and a context.
#pragma once

#include <pulse/context.h>
#include <pulse/thread-mainloop.h>

#include <functional>

namespace kv {

// Everything of libpulse's runs on the loop's own thread; other threads use the context and its
// streams only while they hold the lock. A connection never starts a sound server of its own
// (no autospawn): without a running server the game is silent.
class PulseConnection {
public:
    // `changed` is called on the loop's thread, with the lock held, at every change of the
    // context's state.
    explicit PulseConnection(std::function<void()> changed);
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    class Lock {
    public:
        explicit Lock(const PulseConnection& connection);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* loop_;
    };

    // The rest with the lock held. Starts connecting unless connected or on the way; a context
    // that failed or lost its server is dropped first, so a server started later is found.
    void connect();
    // The context when it is ready to play, else nullptr.
    pa_context* ready() const;
    bool connecting() const;

private:
    static void onStateChanged(pa_context* context, void* self);
    void drop();

    std::function<void()> changed_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
};

}  // namespace kv
