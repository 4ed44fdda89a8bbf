#pragma once
// What every part of planning a section reads the INF through: its lines' fields with the
// placeholders expanded, the sections they name, and the folders, registry keys and source
// files they point to, each refused with its line when it is faulty.
#include <map>
#include <string>
#include <vector>

#include "infinstall/core/inf_file.h"
#include "infinstall/core/placeholders.h"
#include "infinstall/core/places.h"

namespace infinstall {

// Field `index` of `line` as written, or empty when the line has fewer.
std::string field(const InfLine& line, size_t index);

// The non-empty fields of a directive's line: the lists (sections) it names.
std::vector<std::string> listsOf(const InfLine& line);

class PlanContext {
public:
    // `folders` holds the chosen folder of every destination question (none yet while the
    // questions are read).
    PlanContext(const InfFile& inf, const Places& places, const std::map<int, std::string>& folders);

    const InfFile& inf() const { return inf_; }
    const Places& places() const { return places_; }
    const Placeholders& placeholders() const { return placeholders_; }
    // The chosen folders, into which alone folders may be removed.
    const std::vector<std::string>& customFolders() const { return customFolders_; }

    std::string expand(const InfLine& line, size_t index) const;
    // `text` of `line` as a number (decimal, 0x hexadecimal, 0 octal); 0 when empty.
    unsigned number(const InfLine& line, const std::string& text) const;
    // The section `name` that `line` refers to.
    const InfSection& listed(const std::string& name, int line) const;
    // "HKLM\path" or "HKCU\path" from the root and path fields of `line`.
    std::string registryKey(const InfLine& line) const;
    // The folder a copy or delete list goes to: its line in [DestinationDirs], else DefaultDestDir.
    std::string destinationOf(const std::string& list, int line) const;
    // The source file `name` through [SourceDisksFiles] and [SourceDisksNames].
    std::string sourceOf(const std::string& name, int line) const;

private:
    const InfFile& inf_;
    const Places& places_;
    Placeholders placeholders_;
    std::vector<std::string> customFolders_;
};

}  // namespace infinstall
