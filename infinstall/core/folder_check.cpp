#include "infinstall/core/folder_check.h"

#include "infinstall/core/paths.h"

namespace infinstall {

std::string folderProblem(const std::string& folder, FileSystem& files)
{
    if (folder.empty() || folder.front() != '/')
        return "Bitte geben Sie den Ordner mit seinem vollständigen Pfad an (beginnend mit \"/\").";
    if (folder.find('\n') != std::string::npos || folder.find('\r') != std::string::npos)
        return "Der Ordnername darf keinen Zeilenumbruch enthalten.";
    if (folder.find('\0') != std::string::npos)
        return "Der Ordnername darf kein Nullzeichen enthalten.";
    for (const std::string& part : pathParts(folder))
        if (part == "..")
            return "Der Ordnername darf kein \"..\" enthalten.";
    const std::string tidy = tidyFolder(folder);
    if (tidy == "/")
        return "In das Wurzelverzeichnis \"/\" kann nicht installiert werden.";
    return files.placeProblem(tidy);
}

}  // namespace infinstall
