// Where a setup run started with TMPDIR naming `tmp` unpacks: "$Pakorix.Tmp" in the folder of
// its own that it made in `tmp` ("KARVELO-" and six characters).
#pragma once
#include <filesystem>
#include <string>

namespace setup::testing {

// The run's own folder in `tmp`, or "" while there is none.
inline std::string ownFolderOfRun(const std::string& tmp)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(tmp, error))
        if (entry.path().filename().string().rfind("KARVELO-", 0) == 0)
            return entry.path().string();
    return "";
}

// Its work folder; a name that does not exist while the run has no folder of its own.
inline std::string runWorkFolder(const std::string& tmp)
{
    const std::string own = ownFolderOfRun(tmp);
    return (own.empty() ? tmp + "/KARVELO-none" : own) + "/$Pakorix.Tmp";
}

}  // namespace setup::testing
