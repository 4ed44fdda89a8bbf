#pragma once
// Whole-file reads and writes for the generator; failures become Error with the path.

#include <ctime>
#include <string>

#include "tools/mkpackage/byte_writer.h"

namespace mkpackage {

Bytes readFile(const std::string& path);
void writeFile(const std::string& path, const Bytes& bytes);
std::time_t fileModificationTime(const std::string& path);

}  // namespace mkpackage
