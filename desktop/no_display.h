// Without a display our desktop programs say so in one German line instead of Qt's abort.
#pragma once

namespace kv {

// Call before the QApplication is made. Until its platform is up, a failure to reach a display,
// or a display that does not answer within a few seconds, ends the program with one German line
// on standard error, naming DISPLAY and WAYLAND_DISPLAY, and exit code 1, in place of Qt's
// English advice to reinstall and its abort() (a core dump); a platform plugin that is missing
// or will not load is named as the reason instead.
void endQuietlyWithoutDisplay(const char* programName);

}  // namespace kv
