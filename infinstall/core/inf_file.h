#pragma once
// An INF file as read from disk: sections of lines, each line an optional key and its
// comma-separated fields, with quotes removed (inf_lines.h reads the lines, inf_fields.h takes
// them apart). Placeholders (%name%, %17%) are left in the fields; they are expanded where the
// installer knows their values.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "infinstall/core/inf_error.h"
#include "infinstall/core/inf_fields.h"
#include "infinstall/core/inf_lines.h"

namespace infinstall {

// What the reader accepts: larger files are refused before anything is looked at (and longer
// lines, kMaxInfLineChars, when they are read). Real INF files stay far below both.
inline constexpr size_t kMaxInfFileBytes = 8 * 1024 * 1024;

struct InfLine {
    int number = 0;  // first physical line of a continued line, counted from 1
    bool hasKey = false;
    std::string key;  // trimmed, unquoted; empty when the line has no "="
    std::vector<std::string> fields;
};

struct InfSection {
    std::string name;  // as written in the file
    int number = 0;
    std::vector<InfLine> lines;
    IgnoringCaseMap<size_t> firstLineOfKey;  // index into `lines`

    // The first line with `key`, or null.
    const InfLine* line(std::string_view key) const;
};

class InfFile {
public:
    // `bytes` is the file's content in Windows-1252 with CR LF or LF line ends. Throws InfError.
    static InfFile parse(const std::string& path, const std::string& bytes);
    // Reads and parses `path`. Throws InfError (line 0 when the file cannot be read).
    static InfFile read(const std::string& path);

    const std::string& path() const { return path_; }
    // Section names compare without regard to case; null when there is none.
    const InfSection* section(std::string_view name) const;
    // Every section, in the order of their first headers.
    const std::vector<InfSection>& sections() const { return sections_; }
    // The fields of the first line with `key` in `section`, or null.
    const InfLine* line(std::string_view section, std::string_view key) const;
    // The file's name without its folder, for messages.
    std::string fileName() const;
    InfError error(int line, const std::string& what) const;

private:
    std::string path_;
    std::vector<InfSection> sections_;
    IgnoringCaseMap<size_t> sectionIndex_;  // index into `sections_`
};

}  // namespace infinstall
