#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "core/file_system.h"

namespace infinstall {
namespace {

bool failed(std::string& error)
{
    error = std::strerror(errno);
    return false;
}

bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool copyInto(int out, const std::string& source)
{
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    char buffer[65536];
    bool ok = true;
    while (ok) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        ok = writeAll(out, buffer, static_cast<size_t>(n));
    }
    const int saved = errno;
    ::close(in);
    errno = saved;
    return ok;
}

}  // namespace

PathKind PosixFileSystem::kind(const std::string& path)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0) return PathKind::Missing;
    if (S_ISREG(info.st_mode)) return PathKind::File;
    if (S_ISDIR(info.st_mode)) return PathKind::Folder;
    if (S_ISLNK(info.st_mode) && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return PathKind::Folder;
    return PathKind::Other;
}

bool PosixFileSystem::readFile(const std::string& path, std::string& content, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return failed(error);
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return failed(error);
    return true;
}

bool PosixFileSystem::makeFolder(const std::string& path, std::string& error)
{
    return ::mkdir(path.c_str(), 0755) == 0 || failed(error);
}

bool PosixFileSystem::removeFolder(const std::string& path, std::string& error)
{
    return ::rmdir(path.c_str()) == 0 || failed(error);
}

bool PosixFileSystem::writeBeside(const std::string& target, const std::string& source,
                                  bool fromText, unsigned mode, std::string& written,
                                  std::string& error)
{
    const size_t slash = target.rfind('/');
    std::string name = target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".infinstall-XXXXXX";
    // A fresh name that nothing, not even a link, may hold: mkostemp creates it exclusively.
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return failed(error);
    bool ok = fromText ? writeAll(fd, source.data(), source.size()) : copyInto(fd, source);
    ok = ok && ::fchmod(fd, static_cast<mode_t>(mode)) == 0 && ::fsync(fd) == 0;
    const int saved = errno;
    ok = (::close(fd) == 0) && ok;
    if (!ok) {
        errno = saved ? saved : errno;
        failed(error);
        ::unlink(name.c_str());
        return false;
    }
    written = name;
    return true;
}

bool PosixFileSystem::rename(const std::string& from, const std::string& to, std::string& error)
{
    return ::rename(from.c_str(), to.c_str()) == 0 || failed(error);
}

bool PosixFileSystem::removeFile(const std::string& path, std::string& error)
{
    return ::unlink(path.c_str()) == 0 || failed(error);
}

}  // namespace infinstall
