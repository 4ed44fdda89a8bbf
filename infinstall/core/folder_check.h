#pragma once
#include <string>
#include <vector>

namespace infinstall {

// Why `folder` cannot take an installation, or an empty text when it can: it must be an
// absolute path without line breaks, and this user must be able to create it (its nearest
// existing parent is a folder this user may write to) or write into it.
std::string folderProblem(const std::string& folder);

// The parts of a path between its slashes, empty ones included.
std::vector<std::string> pathParts(const std::string& path);

// `folder` without trailing slashes and without "//" or "/./" inside.
std::string tidyFolder(const std::string& folder);

}  // namespace infinstall
