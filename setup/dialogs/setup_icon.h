#pragma once
// MNICON: the setup's own 32 x 32 icon in 16 colours, drawn at build time.

namespace setup {

// Makes it the icon of every window of the program.
void applySetupIcon();

}  // namespace setup
