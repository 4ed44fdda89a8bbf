#pragma once
// Folders reached one component at a time from a folder held open, so that no path another
// user can re-point decides where a step goes. Strict walks, for a system-wide installation,
// follow no symbolic link and pass only folders that no user but root may change: once such a
// folder is open, nobody else can swap what lies below it.
#include <sys/stat.h>

#include <string>
#include <vector>

namespace infinstall {

// An open folder descriptor, closed with its owner.
class HeldFolder {
public:
    explicit HeldFolder(int fd = -1) : fd_(fd) {}
    HeldFolder(HeldFolder&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    HeldFolder& operator=(HeldFolder&& other) noexcept;
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;
    ~HeldFolder();

    int fd() const { return fd_; }
    bool open() const { return fd_ >= 0; }

private:
    int fd_;
};

// Why users other than root may change what lies in the folder `info` describes (`path`, for
// the message), or an empty text. A sticky folder root owns, such as /tmp, keeps root's entries
// safe; `itself` asks more: the folder takes the installation, so nobody else may add to it.
std::string othersMayChange(const struct stat& info, const std::string& path, bool itself);

struct Walk {
    HeldFolder folder;   // the deepest folder reached
    size_t reached = 0;  // how many of the parts were opened
    std::string error;   // set when a part exists but may not be passed
};

// Opens `parts` one after the other below `start` (the folder `startPath` names, for messages),
// never climbing out of it. A missing part ends the walk without an error; with `strict` a link,
// or a folder that others may change, ends it with one (and `start` itself is checked first).
Walk walkFolders(int start, const std::string& startPath, const std::vector<std::string>& parts, bool strict);

}  // namespace infinstall
