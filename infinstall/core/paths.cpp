#include "infinstall/core/paths.h"

namespace infinstall {

std::vector<std::string> pathParts(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t slash = path.find('/', start);
        parts.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos)
            return parts;
        start = slash + 1;
    }
}

std::vector<std::string> walkedParts(const std::string& path)
{
    std::vector<std::string> parts;
    for (std::string& part : pathParts(path))
        if (!part.empty() && part != ".")
            parts.push_back(std::move(part));
    return parts;
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

std::string tidyFolder(const std::string& folder)
{
    std::string out;
    for (const std::string& part : walkedParts(folder))
        out += "/" + part;
    return folder.empty() || folder.front() != '/' ? folder : (out.empty() ? "/" : out);
}

bool isContainedName(const std::string& name)
{
    if (name.empty() || name.front() == '/' || name.find('\\') != std::string::npos)
        return false;
    for (const std::string& part : pathParts(name))
        if (part.empty() || part == "." || part == "..")
            return false;
    return true;
}

bool isBelowOrSame(const std::string& path, const std::string& folder)
{
    return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                              path[folder.size()] == '/');
}

}  // namespace infinstall
