#pragma once
// Rejects a setup file that was cut short (single-file packages only).

namespace setup {

class SetupUi;
struct PackageSettings;

// Shows "Dateigröße inkorrekt ..." / "Fehler" / stop.
void reportIncompletePackage(SetupUi& ui);

// True when the file ends in the "RSF" trailer or in a ZIP end record that
// reaches to its end. A package without magic or whose variable part could
// not be read is incomplete too. On false the message has been shown; the
// caller closes the package and ends the program.
bool checkPackageComplete(int fd, const PackageSettings& settings, SetupUi& ui);

}  // namespace setup
