#pragma once
// DLG_LIC: the licence page shown before installing.

namespace setup {

// True only when the user chooses "Ich stimme zu"; Enter and Escape decline.
bool askLicence(const char* licenceText);

}  // namespace setup
