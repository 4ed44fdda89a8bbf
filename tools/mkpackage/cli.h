#pragma once
// The command line of mkpackage, turned into a package description and written out.

#include <string>
#include <vector>

#include "tools/mkpackage/package_builder.h"

namespace mkpackage {

struct Invocation {
    PackagePlan plan;
    std::string outPath;
    std::size_t volumeSize = 0;  // 0: a single file
};

// `args` excludes the program name. Reads the image and the input files; throws Error on
// any mistake in the command line or an unreadable file.
Invocation parseCommandLine(const std::vector<std::string>& args);

// Returns the paths written: the package, or its volumes in order.
std::vector<std::string> writePackage(const Invocation& invocation);

const char* usageText();

}  // namespace mkpackage
