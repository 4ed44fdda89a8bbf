#pragma once
// The few file-system operations the installer's actions use. Every call that fails returns
// false and leaves the reason (the system's error text) in `error`.
#include <string>

namespace infinstall {

enum class PathKind { Missing, File, Folder, Other };  // Other: a link, a device, ...

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // What is at `path`. A symbolic link counts as the folder it leads to, and as Other when it
    // leads anywhere else, so no file is ever taken for one behind a link.
    virtual PathKind kind(const std::string& path) = 0;
    virtual bool readFile(const std::string& path, std::string& content, std::string& error) = 0;
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
};

// The real file system of this machine.
class PosixFileSystem : public FileSystem {
public:
    PathKind kind(const std::string& path) override;
    bool readFile(const std::string& path, std::string& content, std::string& error) override;
    bool makeFolder(const std::string& path, std::string& error) override;
    bool removeFolder(const std::string& path, std::string& error) override;
    bool writeBeside(const std::string& target, const std::string& source, bool fromText,
                     unsigned mode, std::string& written, std::string& error) override;
    bool rename(const std::string& from, const std::string& to, std::string& error) override;
    bool removeFile(const std::string& path, std::string& error) override;
};

}  // namespace infinstall
