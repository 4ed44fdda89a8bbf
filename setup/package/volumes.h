#pragma once
// Multi-volume packages: one file per diskette, joined in the work folder.
#include <stddef.h>

namespace setup {

class SetupUi;
struct PackageSettings;

// The volumes joined, inside the work folder.
inline constexpr char kJoinedFileName[] = "Pakorix.pkg";
// workFolder + "/Pakorix.pkg".
bool joinedFilePath(char* out, size_t size, const char* workFolder);
// Volume k (k >= 1): ownPath with its last three characters replaced by k,
// zero-padded to at least three digits; volume 0 is ownPath itself.
bool volumePath(char* out, size_t size, const char* ownPath, unsigned volume);

// Creates the work folder (held open in `workFolderFd`, see ensureWorkFolder)
// and copies volumes 0, 1, ... into the joined file inside it until
// it holds header.totalSize bytes, asking for each missing volume. Volume 0 is
// read from `packageFd`, the setup's own file as it was started; the others
// are looked up beside `ownPath`. Returns the joined file opened for reading,
// or -1 after "Setup-Archiv konnte nicht erfolgreich erstellt werden." (or the
// work folder's own refusal).
int joinVolumes(const PackageSettings& settings, int packageFd, const char* ownPath, const char* workFolder,
                int& workFolderFd, SetupUi& ui);

}  // namespace setup
