#include "infinstall/core/folder_walk.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace infinstall {
namespace {

std::string userName(uid_t uid)
{
    const passwd* user = ::getpwuid(uid);
    return user ? std::string(user->pw_name) : "mit der Nummer " + std::to_string(uid);
}

std::string groupName(gid_t gid)
{
    const group* entry = ::getgrgid(gid);
    return entry ? std::string(entry->gr_name) : "mit der Nummer " + std::to_string(gid);
}

std::string joinedPath(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

HeldFolder& HeldFolder::operator=(HeldFolder&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

HeldFolder::~HeldFolder()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::string othersMayChange(const struct stat& info, const std::string& path, bool itself)
{
    if (info.st_uid != 0)
        return path + " gehört dem Benutzer " + userName(info.st_uid) + ", nicht root.";
    const bool sticky = (info.st_mode & S_ISVTX) != 0;
    if ((info.st_mode & S_IWOTH) && (itself || !sticky))
        return "In " + path + " darf jeder Benutzer schreiben.";
    if ((info.st_mode & S_IWGRP) && (itself || !sticky))
        return "In " + path + " dürfen die Mitglieder der Gruppe " + groupName(info.st_gid) + " schreiben.";
    return {};
}

Walk walkFolders(int start, const std::string& startPath, const std::vector<std::string>& parts, bool strict)
{
    Walk walk;
    walk.folder = HeldFolder(::fcntl(start, F_DUPFD_CLOEXEC, 0));
    if (!walk.folder.open()) {
        walk.error = "Kann " + startPath + " nicht öffnen: " + std::strerror(errno);
        return walk;
    }
    struct stat info;
    if (strict && ::fstat(walk.folder.fd(), &info) == 0)
        walk.error = othersMayChange(info, startPath, false);
    std::string path = startPath;
    for (const std::string& part : parts) {
        if (!walk.error.empty())
            return walk;
        path = joinedPath(path, part);
        if (part == "..") {
            walk.error = path + ": \"..\" führt aus dem Ordner hinaus.";
            return walk;
        }
        const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (strict ? O_NOFOLLOW : 0);
        HeldFolder next(::openat(walk.folder.fd(), part.c_str(), flags));
        if (!next.open()) {
            if (errno == ENOENT)
                return walk;
            struct stat link;
            if (errno == ELOOP ||
                (::fstatat(walk.folder.fd(), part.c_str(), &link, AT_SYMLINK_NOFOLLOW) == 0 &&
                 S_ISLNK(link.st_mode)))
                walk.error = path + " ist eine symbolische Verknüpfung; ihr folgt eine Installation "
                                    "für alle Benutzer nicht.";
            else if (errno == ENOTDIR)
                walk.error = path + " ist kein Ordner.";
            else
                walk.error = "Kann " + path + " nicht öffnen: " + std::strerror(errno);
            return walk;
        }
        if (strict && ::fstat(next.fd(), &info) == 0)
            walk.error = othersMayChange(info, path, false);
        walk.folder = std::move(next);
        ++walk.reached;
    }
    return walk;
}

}  // namespace infinstall
