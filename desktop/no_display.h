// Without a display our desktop programs say so in one German line instead of Qt's abort.
#pragma once

namespace kv {

// Call before the QApplication is made. Until its platform is up, a failure to reach a display
// ends the program with one German line on standard error, naming DISPLAY and WAYLAND_DISPLAY,
// and exit code 1, in place of Qt's English advice to reinstall and its abort() (a core dump).
void endQuietlyWithoutDisplay(const char* programName);

}  // namespace kv
