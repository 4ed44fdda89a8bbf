#include "infinstall/core/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "common/posix/retrying_io.h"
#include "infinstall/core/paths.h"

namespace infinstall {
namespace {

bool failed(std::string& error)
{
    error = std::strerror(errno);
    return false;
}

bool copyInto(int out, int in)
{
    char buffer[65536];
    while (true) {
        const long long n = common::readOnce(in, buffer, sizeof buffer);
        if (n <= 0)
            return n == 0;
        if (!common::writeFully(out, buffer, static_cast<size_t>(n)))
            return false;
    }
}

bool sameFolder(int a, int b)
{
    struct stat one, other;
    return ::fstat(a, &one) == 0 && ::fstat(b, &other) == 0 && one.st_dev == other.st_dev &&
           one.st_ino == other.st_ino;
}

// A name nobody has taken yet, beside `name`, made exclusively: not even a link may hold it.
int createBeside(int folder, const std::string& name, std::string& created)
{
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = "." + name + ".infinstall-" + std::to_string(random() % 1000000);
        const int fd =
            ::openat(folder, created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

PosixFileSystem::PosixFileSystem(bool strict)
    : strict_(strict), root_(::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
}

bool PosixFileSystem::holdSources(const std::string& folder, std::string& error)
{
    HeldFolder current(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    HeldFolder named(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (current.open() && named.open() && sameFolder(current.fd(), named.fd())) {
        sources_ = std::move(current);
    } else if (folder.empty() || folder.front() != '/') {
        sources_ = std::move(named);
    } else {
        const std::vector<std::string> parts = walkedParts(folder);
        Walk walk = walkFolders(root_.fd(), "/", parts, strict_);
        if (!walk.error.empty()) {
            error = walk.error;
            return false;
        }
        if (walk.reached == parts.size())
            sources_ = std::move(walk.folder);
    }
    if (!sources_.open()) {
        error = "Kann den Ordner " + folder + " nicht öffnen: " + std::strerror(ENOENT);
        return false;
    }
    struct stat info;
    if (strict_ && ::fstat(sources_.fd(), &info) == 0)
        error = othersMayChange(info, folder, true);
    if (!error.empty()) {
        sources_ = HeldFolder();
        return false;
    }
    sourcePath_ = folder;
    return true;
}

PosixFileSystem::Parent PosixFileSystem::parentOf(const std::string& path)
{
    Parent parent;
    int start = root_.fd();
    std::string startPath = "/", rest = path;
    HeldFolder current;
    if (sources_.open() && path.size() > sourcePath_.size() + 1 &&
        path.compare(0, sourcePath_.size(), sourcePath_) == 0 && path[sourcePath_.size()] == '/') {
        start = sources_.fd();
        startPath = sourcePath_;
        rest = path.substr(sourcePath_.size() + 1);
    } else if (path.empty() || path.front() != '/') {
        current = HeldFolder(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        start = current.fd();
        startPath = ".";
    }
    std::vector<std::string> parts = walkedParts(rest);
    if (parts.empty() || parts.back() == "..") {
        parent.refused = true;
        parent.error = path + " ist kein Dateiname.";
        return parent;
    }
    parent.name = parts.back();
    parts.pop_back();
    Walk walk = walkFolders(start, startPath, parts, strict_);
    parent.refused = !walk.error.empty();
    if (walk.error.empty() && walk.reached < parts.size())
        walk.error = "Der Ordner " + folderOf(path) + " fehlt.";
    parent.error = walk.error;
    if (parent.error.empty())
        parent.folder = std::move(walk.folder);
    return parent;
}

PathKind PosixFileSystem::kind(const std::string& path)
{
    const Parent parent = parentOf(path);
    // A folder on the way that may not be passed: neither missing nor usable.
    if (!parent.error.empty())
        return parent.refused ? PathKind::Other : PathKind::Missing;
    struct stat info;
    if (::fstatat(parent.folder.fd(), parent.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? PathKind::Missing : PathKind::Other;
    if (!S_ISLNK(info.st_mode))
        return common::pathKindOfMode(info.st_mode);
    if (!strict_ && ::fstatat(parent.folder.fd(), parent.name.c_str(), &info, 0) == 0 &&
        S_ISDIR(info.st_mode))
        return PathKind::Folder;
    return PathKind::Other;
}

int PosixFileSystem::openFile(const std::string& path, std::string& error)
{
    const Parent parent = parentOf(path);
    if (!parent.error.empty()) {
        error = parent.error;
        return -1;
    }
    const int fd =
        ::openat(parent.folder.fd(), parent.name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    struct stat info;
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        failed(error);
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        error = path + " ist keine gewöhnliche Datei.";
        return -1;
    }
    return fd;
}

bool PosixFileSystem::readFile(const std::string& path, std::string& content, std::string& error,
                               size_t limit)
{
    const int fd = openFile(path, error);
    if (fd < 0)
        return false;
    content.clear();
    char buffer[65536];
    bool ok = true;
    while (ok) {
        const long long n = common::readOnce(fd, buffer, sizeof buffer);
        if (n <= 0) {
            ok = n == 0 || failed(error);
            break;
        }
        content.append(buffer, static_cast<size_t>(n));
        if (content.size() > limit) {
            content.resize(limit);
            error = path + " ist größer als " + std::to_string(limit) + " Bytes.";
            ok = false;
        }
    }
    ::close(fd);
    return ok;
}

bool PosixFileSystem::inParentOf(const std::string& path, std::string& error,
                                 int (*call)(int folder, const char* name))
{
    const Parent parent = parentOf(path);
    if (!parent.error.empty()) {
        error = parent.error;
        return false;
    }
    return call(parent.folder.fd(), parent.name.c_str()) == 0 || failed(error);
}

bool PosixFileSystem::makeFolder(const std::string& path, std::string& error)
{
    return inParentOf(path, error,
                      [](int folder, const char* name) { return ::mkdirat(folder, name, 0755); });
}

bool PosixFileSystem::removeFolder(const std::string& path, std::string& error)
{
    return inParentOf(path, error,
                      [](int folder, const char* name) { return ::unlinkat(folder, name, AT_REMOVEDIR); });
}

bool PosixFileSystem::writeBeside(const std::string& target, const std::string& source, bool fromText,
                                  unsigned mode, std::string& written, std::string& error)
{
    const Parent parent = parentOf(target);
    if (!parent.error.empty()) {
        error = parent.error;
        return false;
    }
    const int in = fromText ? -1 : openFile(source, error);
    if (!fromText && in < 0)
        return false;
    std::string name;
    const int fd = createBeside(parent.folder.fd(), parent.name, name);
    if (fd < 0) {
        failed(error);
        if (in >= 0)
            ::close(in);
        return false;
    }
    bool ok = fromText ? common::writeFully(fd, source.data(), source.size()) : copyInto(fd, in);
    ok = ok && ::fchmod(fd, static_cast<mode_t>(mode)) == 0 && ::fsync(fd) == 0;
    int saved = errno;
    if (in >= 0)
        ::close(in);
    ok = (::close(fd) == 0) && ok;
    if (!ok) {
        errno = saved ? saved : errno;
        failed(error);
        ::unlinkat(parent.folder.fd(), name.c_str(), 0);
        return false;
    }
    written = folderOf(target) + "/" + name;
    return true;
}

bool PosixFileSystem::rename(const std::string& from, const std::string& to, std::string& error)
{
    const Parent source = parentOf(from), target = parentOf(to);
    error = !source.error.empty() ? source.error : target.error;
    if (!error.empty())
        return false;
    return ::renameat(source.folder.fd(), source.name.c_str(), target.folder.fd(), target.name.c_str()) ==
               0 ||
           failed(error);
}

bool PosixFileSystem::removeFile(const std::string& path, std::string& error)
{
    return inParentOf(path, error, [](int folder, const char* name) { return ::unlinkat(folder, name, 0); });
}

std::string PosixFileSystem::placeProblem(const std::string& path)
{
    const std::vector<std::string> parts = walkedParts(path);
    const Walk walk = walkFolders(root_.fd(), "/", parts, strict_);
    const char* const choose = " Bitte wählen Sie einen anderen Ordner.";
    if (!walk.error.empty())
        return walk.error + choose;
    struct stat info;
    if (strict_ && walk.reached == parts.size() && ::fstat(walk.folder.fd(), &info) == 0) {
        const std::string problem = othersMayChange(info, path, true);
        if (!problem.empty())
            return problem + " Bitte wählen Sie einen Ordner, den nur root ändern darf.";
    }
    if (::faccessat(walk.folder.fd(), ".", W_OK | X_OK, AT_EACCESS) != 0) {
        std::string existing = "/";
        for (size_t i = 0; i < walk.reached; ++i)
            existing += (i ? "/" : "") + parts[i];
        return "Sie dürfen in " + existing + " nicht schreiben." + choose;
    }
    return {};
}

}  // namespace infinstall
