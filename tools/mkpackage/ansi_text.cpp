#include "tools/mkpackage/ansi_text.h"

#include <cerrno>
#include <cstring>

#include "common/package_format/package_text.h"
#include "tools/mkpackage/error.h"

namespace mkpackage {

std::string toWindows1252(const std::string& utf8)
{
    // Every Windows-1252 character takes at least one UTF-8 byte, so the output never grows.
    std::string out(utf8.size() + 1, '\0');
    const common::Conversion done = common::utf8ToWindows1252<common::kPackageTextWriting>(
        out.data(), out.size(), utf8.data(), utf8.size());
    if (done.status == common::Converted::NoConverter)
        throw Error(std::string("cannot convert to Windows-1252: ") + std::strerror(errno));
    if (done.status != common::Converted::Done)
        throw Error("text \"" + utf8 + "\" cannot be written in Windows-1252: " + std::strerror(errno));
    out.resize(done.length);
    return out;
}

}  // namespace mkpackage
