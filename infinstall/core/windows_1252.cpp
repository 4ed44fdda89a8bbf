#include "infinstall/core/windows_1252.h"

#include <algorithm>

#include "common/text/windows1252.h"

namespace infinstall {

bool decodeWindows1252(std::string_view bytes, std::string& utf8)
{
    // Most lines are ASCII, which is the same in both; only the others need the converter.
    if (std::all_of(bytes.begin(), bytes.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        utf8.assign(bytes);
        return true;
    }
    // No character takes more than three bytes in UTF-8, and the NUL one more.
    utf8.resize(bytes.size() * 3 + 1);
    constexpr common::Windows1252Policy kStrict{common::Unmappable::Refuse,
                                                common::WithoutConverter::AsciiOnly};
    const common::Conversion done =
        common::windows1252ToUtf8<kStrict>(utf8.data(), utf8.size(), bytes.data(), bytes.size());
    utf8.resize(done.status == common::Converted::Done ? done.length : 0);
    return done.status == common::Converted::Done;
}

}  // namespace infinstall
