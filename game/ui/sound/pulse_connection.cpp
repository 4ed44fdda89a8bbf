#include "game/ui/sound/pulse_connection.h"

#include <pulse/proplist.h>

#include <utility>

namespace kv {

PulseConnection::PulseConnection(std::function<void()> changed) : changed_(std::move(changed))
{
    loop_ = pa_threaded_mainloop_new();
    if (loop_ != nullptr && pa_threaded_mainloop_start(loop_) < 0) {
        pa_threaded_mainloop_free(loop_);
        loop_ = nullptr;
    }
}

PulseConnection::~PulseConnection()
{
    if (loop_ == nullptr)
        return;
    {
        const Lock lock(*this);
        drop();
    }
    // Joins the loop's thread, which must be able to take the lock to end.
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
}

PulseConnection::Lock::Lock(const PulseConnection& connection) : loop_(connection.loop_)
{
    if (loop_ != nullptr)
        pa_threaded_mainloop_lock(loop_);
}

PulseConnection::Lock::~Lock()
{
    if (loop_ != nullptr)
        pa_threaded_mainloop_unlock(loop_);
}

void PulseConnection::connect()
{
    if (context_ != nullptr && PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)))
        return;
    drop();
    if (loop_ == nullptr)
        return;
    // What the desktop's volume control shows for the game.
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "KARVELO");
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "org.karvelo.Karvelo");
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, "karvelo");
    context_ = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop_), nullptr, properties);
    pa_proplist_free(properties);
    if (context_ == nullptr)
        return;
    pa_context_set_state_callback(context_, &PulseConnection::onStateChanged, this);
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        drop();
}

pa_context* PulseConnection::ready() const
{
    return context_ != nullptr && pa_context_get_state(context_) == PA_CONTEXT_READY ? context_ : nullptr;
}

bool PulseConnection::connecting() const
{
    if (context_ == nullptr)
        return false;
    const pa_context_state_t state = pa_context_get_state(context_);
    return PA_CONTEXT_IS_GOOD(state) && state != PA_CONTEXT_READY;
}

void PulseConnection::onStateChanged(pa_context*, void* self)
{
    static_cast<PulseConnection*>(self)->changed_();
}

void PulseConnection::drop()
{
    if (context_ == nullptr)
        return;
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(std::exchange(context_, nullptr));
}

}  // namespace kv
