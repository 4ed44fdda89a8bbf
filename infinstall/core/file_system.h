#pragma once
// The few file-system operations the installer's actions use. Every call that fails returns
// false and leaves the reason (in German, with the path) in `error`.
#include <cstddef>
#include <string>

#include "common/posix/path_kind.h"

namespace infinstall {

using common::PathKind;

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // What is at `path`. A symbolic link counts as the folder it leads to where links are
    // followed at all, and as Other otherwise, so no file is ever taken for one behind a link.
    virtual PathKind kind(const std::string& path) = 0;
    // A regular file. One longer than `limit` fails, with its first `limit` bytes in `content`.
    virtual bool readFile(const std::string& path, std::string& content, std::string& error,
                          size_t limit = kReadLimit) = 0;
    virtual bool makeFolder(const std::string& path, std::string& error) = 0;
    // Only an empty folder is removed.
    virtual bool removeFolder(const std::string& path, std::string& error) = 0;
    // Writes a new file with a name of its own beside `target` (in the same folder), with
    // exactly `mode`; `source` is a file to copy, or, when `fromText`, the content itself.
    // Returns its path in `written`.
    virtual bool writeBeside(const std::string& target, const std::string& source, bool fromText,
                             unsigned mode, std::string& written, std::string& error) = 0;
    // Replaces `to` (a file or a link, which is replaced itself) in one step.
    virtual bool rename(const std::string& from, const std::string& to, std::string& error) = 0;
    virtual bool removeFile(const std::string& path, std::string& error) = 0;
    // Why the folder `path` (absolute and tidy) cannot take an installation, or an empty text:
    // the folder, or its nearest existing parent, must be one this user may write to.
    virtual std::string placeProblem(const std::string& path) = 0;

    static constexpr size_t kReadLimit = size_t(256) << 20;
};

}  // namespace infinstall
