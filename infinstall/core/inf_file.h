#pragma once
// An INF file as read from disk: sections of lines, each line an optional key and its
// comma-separated fields, with quotes removed. Placeholders (%name%, %17%) are left in the
// fields; they are expanded where the installer knows their values.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace infinstall {

// What the reader accepts: larger files and longer lines (with their continuations) are
// refused before anything is looked at. Real INF files stay far below both.
inline constexpr size_t kMaxInfFileBytes = 8 * 1024 * 1024;
inline constexpr size_t kMaxInfLineChars = 4096;

// A fault in an INF, with the file and line it concerns in its message.
class InfError : public std::runtime_error {
public:
    InfError(const std::string& file, int line, const std::string& what);
};

struct InfLine {
    int number = 0;     // first physical line of a continued line, counted from 1
    bool hasKey = false;
    std::string key;    // trimmed, unquoted; empty when the line has no "="
    std::vector<std::string> fields;
};

bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Hashing and comparing names without regard to case (ASCII letters, as equalsIgnoringCase),
// for maps looked up by any string_view.
struct IgnoringCaseHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const;
};
struct IgnoringCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return equalsIgnoringCase(a, b); }
};
template <typename Value>
using IgnoringCaseMap = std::unordered_map<std::string, Value, IgnoringCaseHash, IgnoringCaseEqual>;

struct InfSection {
    std::string name;   // as written in the file
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

// Splits `text` at `separator` where it is not inside quotes; each part is trimmed and unquoted
// like a field of an INF line. Used for the lists INF fields carry inside themselves.
std::vector<std::string> splitFields(std::string_view text, char separator);

}  // namespace infinstall
