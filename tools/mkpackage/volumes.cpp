#include "tools/mkpackage/volumes.h"

#include <cstdio>

#include "tools/mkpackage/error.h"

namespace mkpackage {

std::string volumeFileName(const std::string& base, unsigned k)
{
    if (k == 0)
        return base;
    if (base.size() < 3)
        throw Error("volume base name \"" + base + "\" is shorter than 3 characters");
    char number[16];
    std::snprintf(number, sizeof number, "%03u", k);
    return base.substr(0, base.size() - 3) + number;
}

std::vector<Bytes> splitIntoVolumes(const Bytes& package, std::size_t volumeSize, std::size_t archiveStart)
{
    if (volumeSize < archiveStart)
        throw Error("volume size " + std::to_string(volumeSize) +
                    " is smaller than the program image and header (" + std::to_string(archiveStart) +
                    " bytes), which must all be in the first volume");
    std::vector<Bytes> volumes;
    for (std::size_t at = 0; at < package.size(); at += volumeSize) {
        const std::size_t n = package.size() - at < volumeSize ? package.size() - at : volumeSize;
        volumes.emplace_back(package.begin() + static_cast<std::ptrdiff_t>(at),
                             package.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    return volumes;
}

}  // namespace mkpackage
