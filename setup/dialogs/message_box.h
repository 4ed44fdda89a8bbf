#pragma once
// The setup's message boxes: no owner, the stop or information icon.
#include "setup/driver/setup_ui.h"

namespace setup {

Answer showMessageBox(const char* text, const char* caption, Icon icon, Buttons buttons);

}  // namespace setup
