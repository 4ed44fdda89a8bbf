#include "core/windows_1252.h"

#include <iconv.h>

#include <algorithm>

namespace infinstall {

bool decodeWindows1252(std::string_view bytes, std::string& utf8)
{
    // Most lines are ASCII, which is the same in both; only the others need the converter.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        utf8.assign(bytes);
        return true;
    }
    const iconv_t cd = iconv_open("UTF-8", "WINDOWS-1252");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string in(bytes);
    utf8.resize(in.size() * 3);
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = utf8.data();
    size_t outLeft = utf8.size();
    const bool done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    utf8.resize(utf8.size() - outLeft);
    return done;
}

}  // namespace infinstall
