#pragma once
// Spreading a package over volume files: base.run, base.001, base.002, ...

#include <string>
#include <vector>

#include "tools/mkpackage/byte_writer.h"

namespace mkpackage {

// Volume 0 is `base` itself; volume k replaces the last three characters of `base` with k,
// padded with zeros to at least three digits.
std::string volumeFileName(const std::string& base, unsigned k);

// Cuts the package into pieces of at most `volumeSize` bytes. The first piece must hold the
// whole header (`archiveStart` bytes): the setup reads it from its own file before joining.
std::vector<Bytes> splitIntoVolumes(const Bytes& package, std::size_t volumeSize, std::size_t archiveStart);

}  // namespace mkpackage
