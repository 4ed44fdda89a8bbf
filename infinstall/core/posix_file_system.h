#pragma once
#include <string>

#include "infinstall/core/file_system.h"
#include "infinstall/core/folder_walk.h"

namespace infinstall {

// The real file system of this machine, reached through descriptors: every step opens the
// folders of its path one at a time from "/" held open (see folder_walk.h), and files are never
// opened, written or replaced through a link. A strict one, for a system-wide installation,
// follows no link at all and passes only folders that no user but root may change.
class PosixFileSystem : public FileSystem {
public:
    explicit PosixFileSystem(bool strict = false);

    // From now on every path below `folder` (as written here) is read through `folder` held
    // open: the current folder when `folder` names it (a caller that checked a folder starts us
    // in it), else `folder` itself, walked to. A strict one must belong to root and be writable
    // by nobody else. False, with the reason, otherwise.
    bool holdSources(const std::string& folder, std::string& error);

    PathKind kind(const std::string& path) override;
    bool readFile(const std::string& path, std::string& content, std::string& error,
                  size_t limit = kReadLimit) override;
    bool makeFolder(const std::string& path, std::string& error) override;
    bool removeFolder(const std::string& path, std::string& error) override;
    bool writeBeside(const std::string& target, const std::string& source, bool fromText, unsigned mode,
                     std::string& written, std::string& error) override;
    bool rename(const std::string& from, const std::string& to, std::string& error) override;
    bool removeFile(const std::string& path, std::string& error) override;
    std::string placeProblem(const std::string& path) override;

private:
    struct Parent {
        HeldFolder folder;
        std::string name;  // the last part of the path, inside `folder`
        std::string error;
        bool refused = false;  // a part of the way may not be passed (else a folder is missing)
    };
    // The open folder that holds `path`'s last part.
    Parent parentOf(const std::string& path);
    // `call` on `path`'s last part inside its open folder; false with `error` set when the
    // folder cannot be reached or the call fails.
    bool inParentOf(const std::string& path, std::string& error, int (*call)(int folder, const char* name));
    // `path`'s file, opened for reading; -1 with `error` set.
    int openFile(const std::string& path, std::string& error);

    bool strict_;
    HeldFolder root_;
    std::string sourcePath_;
    HeldFolder sources_;
};

}  // namespace infinstall
