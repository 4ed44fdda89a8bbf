#pragma once
// Paths taken apart as text, without looking at the file system: the one place that knows how a
// path splits into its parts and into its folder and name.
#include <string>
#include <vector>

namespace infinstall {

// The parts of a path between its slashes, empty ones included.
std::vector<std::string> pathParts(const std::string& path);

// The parts a walk opens one after the other below "/" (or below the current folder when the
// path is relative): the non-empty ones other than ".".
std::vector<std::string> walkedParts(const std::string& path);

// The folder part of `path`: "/" for a path in "/", "." for a name without one.
std::string folderOf(const std::string& path);

// The last part of `path`: all of it when it has no "/".
std::string nameOf(const std::string& path);

// `folder` without trailing slashes and without "//" or "/./" inside.
std::string tidyFolder(const std::string& folder);

// A relative path that stays below its folder: not empty, no leading "/", no "." or ".."
// components and no backslash.
bool isContainedName(const std::string& name);

// Whether `path` is `folder` or lies below it, compared as text.
bool isBelowOrSame(const std::string& path, const std::string& folder);

}  // namespace infinstall
