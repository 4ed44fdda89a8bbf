#pragma once
#include <string>

#include "infinstall/core/file_system.h"

namespace infinstall {

// Why `folder` cannot take an installation, or an empty text when it can: it must be an
// absolute path without line breaks or "..", not "/" itself, and `files` must be able to create
// it or write into it (FileSystem::placeProblem).
std::string folderProblem(const std::string& folder, FileSystem& files);

}  // namespace infinstall
