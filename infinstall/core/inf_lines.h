#pragma once
// An INF's bytes as logical lines: physical lines decoded from Windows-1252, comments cut and
// continued lines joined, each refused with its line number when it is too long or holds a
// control character. Read one at a time, so that the first fault of the file is the one told.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace infinstall {

// The longest logical line (with its continuations and comments) the reader accepts.
inline constexpr size_t kMaxInfLineChars = 4096;

class LogicalLines {
public:
    // `path` names the file in the messages of the InfErrors thrown.
    LogicalLines(const std::string& path, std::string_view bytes);

    // The next logical line in `text`, `number` its first physical line counted from 1. False
    // at the end. Throws InfError.
    bool next(std::string& text, int& number);

private:
    const std::string& path_;
    std::vector<std::string_view> lines_;
    size_t index_ = 0;
    std::string decoded_;
};

}  // namespace infinstall
