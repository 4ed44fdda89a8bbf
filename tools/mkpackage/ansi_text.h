#pragma once
// Texts arrive as UTF-8 on the command line but the package carries Windows-1252.

#include <string>

namespace mkpackage {

// Throws Error when the text is not valid UTF-8 or holds a character Windows-1252 lacks.
std::string toWindows1252(const std::string& utf8);

}  // namespace mkpackage
