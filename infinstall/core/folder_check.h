#pragma once
#include <string>
#include <vector>

#include "core/file_system.h"

namespace infinstall {

// Why `folder` cannot take an installation, or an empty text when it can: it must be an
// absolute path without line breaks or "..", not "/" itself, and `files` must be able to create
// it or write into it (FileSystem::placeProblem).
std::string folderProblem(const std::string& folder, FileSystem& files);

// The parts of a path between its slashes, empty ones included.
std::vector<std::string> pathParts(const std::string& path);

// The folder part of `path`: "/" for a path in "/", "." for a name without one.
std::string folderOf(const std::string& path);

// `folder` without trailing slashes and without "//" or "/./" inside.
std::string tidyFolder(const std::string& folder);

}  // namespace infinstall
