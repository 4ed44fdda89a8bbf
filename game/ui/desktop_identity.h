// Which menu entry kv5's windows belong to, so that a desktop's dash or task bar shows them under
// that entry's name and icon and lets the player pin it.
#pragma once

#include <QString>

namespace kv {

// The entry of the setup's installation: infinstall names it after the INF's program group.
inline constexpr char kSetupDesktopEntry[] = "KARVELO";

// The desktop file id (the entry's file name without ".desktop") a launcher names in
// `fromLauncher` ($KARVELO_DESKTOP_ENTRY), with or without ".desktop"; the setup's entry when it
// names none or no valid one.
QString desktopEntryId(const char* fromLauncher);

// Call after the QApplication is made and before the first window. Windows without a title of
// their own (the main window) are called "KARVELO" in title bars and task bars, which is also the
// class in their WM_CLASS on X (the entries' StartupWMClass); the entry's id goes to the
// compositor as a Wayland app_id.
void identifyToDesktop();

}  // namespace kv
