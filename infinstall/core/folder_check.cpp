#include "core/folder_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace infinstall {

std::vector<std::string> pathParts(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t slash = path.find('/', start);
        parts.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos) return parts;
        start = slash + 1;
    }
}

std::string tidyFolder(const std::string& folder)
{
    std::string out;
    for (const std::string& part : pathParts(folder)) {
        if (part.empty() || part == ".") continue;
        out += "/" + part;
    }
    return folder.empty() || folder.front() != '/' ? folder : (out.empty() ? "/" : out);
}

std::string folderProblem(const std::string& folder)
{
    if (folder.empty() || folder.front() != '/')
        return "Bitte geben Sie den Ordner mit seinem vollständigen Pfad an (beginnend mit \"/\").";
    if (folder.find('\n') != std::string::npos || folder.find('\r') != std::string::npos)
        return "Der Ordnername darf keinen Zeilenumbruch enthalten.";
    for (const std::string& part : pathParts(folder))
        if (part == "..") return "Der Ordnername darf kein \"..\" enthalten.";
    const std::string tidy = tidyFolder(folder);
    if (tidy == "/") return "In das Wurzelverzeichnis \"/\" kann nicht installiert werden.";
    std::string existing = tidy;
    struct stat info;
    while (::stat(existing.c_str(), &info) != 0) {
        const size_t slash = existing.rfind('/');
        existing = slash == 0 ? "/" : existing.substr(0, slash);
    }
    if (!S_ISDIR(info.st_mode)) return existing + " ist kein Ordner.";
    if (::faccessat(AT_FDCWD, existing.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return "Sie dürfen in " + existing + " nicht schreiben. Bitte wählen Sie einen anderen Ordner.";
    return {};
}

}  // namespace infinstall
