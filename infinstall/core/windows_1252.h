#pragma once
// The INF files' text encoding. Strict: the five bytes Windows-1252 leaves undefined make the
// text unreadable rather than guessed at.
#include <string>
#include <string_view>

namespace infinstall {

// `bytes` as UTF-8 in `utf8`; false when they are not Windows-1252 text.
bool decodeWindows1252(std::string_view bytes, std::string& utf8);

}  // namespace infinstall
