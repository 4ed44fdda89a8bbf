#include "core/folder_check.h"

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

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
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

std::string folderProblem(const std::string& folder, FileSystem& files)
{
    if (folder.empty() || folder.front() != '/')
        return "Bitte geben Sie den Ordner mit seinem vollständigen Pfad an (beginnend mit \"/\").";
    if (folder.find('\n') != std::string::npos || folder.find('\r') != std::string::npos)
        return "Der Ordnername darf keinen Zeilenumbruch enthalten.";
    if (folder.find('\0') != std::string::npos) return "Der Ordnername darf kein Nullzeichen enthalten.";
    for (const std::string& part : pathParts(folder))
        if (part == "..") return "Der Ordnername darf kein \"..\" enthalten.";
    const std::string tidy = tidyFolder(folder);
    if (tidy == "/") return "In das Wurzelverzeichnis \"/\" kann nicht installiert werden.";
    return files.placeProblem(tidy);
}

}  // namespace infinstall
