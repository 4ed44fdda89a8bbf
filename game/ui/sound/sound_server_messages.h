// Without a sound server the game is silent by design, so Qt's complaint about it is not shown.
#pragma once

namespace kv {

// Qt Multimedia's PulseAudio back end reports a missing or refusing server in plain warnings of
// the default category ("PulseAudioService: pa_context_connect() failed"), which no logging
// rule can single out. Installs a message handler that drops exactly those and passes every
// other message on to the handler before it. Installed once, however often it is called.
void dropSoundServerWarnings();

}  // namespace kv
