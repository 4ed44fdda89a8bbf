#pragma once
// %name% placeholders: texts from [Strings], folder numbers (DIRIDs such as %17% or %49000%),
// and %% for a percent sign.
#include <map>
#include <string>

#include "infinstall/core/inf_file.h"

namespace infinstall {

// Folder numbers this installer knows.
inline constexpr int kDiridSource = 1;        // the folder the INF was read from
inline constexpr int kDiridInfFolder = 17;    // where INF files are kept
inline constexpr int kDiridPrograms = 16422;  // where programs go, below which the default folder lies
inline constexpr int kFirstCustomDirid = 49000;

class Placeholders {
public:
    explicit Placeholders(const InfFile& inf);

    void setFolder(int dirid, std::string path) { folders_[dirid] = std::move(path); }
    // The folder of `dirid`, or null when it has none.
    const std::string* folder(int dirid) const;

    // `text` with every placeholder replaced. Throws InfError naming `line` for a placeholder
    // without a value or without its closing "%".
    std::string expand(const std::string& text, int line) const;

private:
    const InfFile& inf_;
    std::map<std::string, std::string> strings_;  // keys in lower case
    std::map<int, std::string> folders_;
};

}  // namespace infinstall
