#include "infinstall/core/plan_context.h"

#include "infinstall/core/paths.h"

namespace infinstall {

std::string field(const InfLine& line, size_t index)
{
    return index < line.fields.size() ? line.fields[index] : std::string();
}

std::vector<std::string> listsOf(const InfLine& line)
{
    std::vector<std::string> lists;
    for (const std::string& f : line.fields)
        if (!f.empty())
            lists.push_back(f);
    return lists;
}

PlanContext::PlanContext(const InfFile& inf, const Places& places, const std::map<int, std::string>& folders)
    : inf_(inf), places_(places), placeholders_(inf)
{
    placeholders_.setFolder(kDiridSource, folderOf(inf.path()));
    placeholders_.setFolder(kDiridInfFolder, places.infFolder);
    placeholders_.setFolder(kDiridPrograms, places.programs);
    for (const auto& [dirid, folder] : folders) {
        placeholders_.setFolder(dirid, folder);
        customFolders_.push_back(folder);
    }
}

std::string PlanContext::expand(const InfLine& line, size_t index) const
{
    return placeholders_.expand(field(line, index), line.number);
}

unsigned PlanContext::number(const InfLine& line, const std::string& text) const
{
    if (text.empty())
        return 0;
    try {
        size_t used = 0;
        const unsigned long value = std::stoul(text, &used, 0);
        if (used == text.size() && value <= 0xFFFFFFFFul)
            return static_cast<unsigned>(value);
    } catch (const std::exception&) {
    }
    throw inf_.error(line.number, "\"" + text + "\" ist keine Zahl.");
}

const InfSection& PlanContext::listed(const std::string& name, int line) const
{
    const InfSection* section = inf_.section(name);
    if (!section)
        throw inf_.error(line, "Der Abschnitt [" + name + "] fehlt.");
    return *section;
}

std::string PlanContext::registryKey(const InfLine& line) const
{
    const std::string root = expand(line, 0);
    std::string canonical;
    if (equalsIgnoringCase(root, "HKLM") || equalsIgnoringCase(root, "HKEY_LOCAL_MACHINE"))
        canonical = "HKLM";
    else if (equalsIgnoringCase(root, "HKCU") || equalsIgnoringCase(root, "HKEY_CURRENT_USER"))
        canonical = "HKCU";
    else
        throw inf_.error(line.number, "Unbekannter Registrierungszweig \"" + root + "\".");
    const std::string path = expand(line, 1);
    if (path.empty())
        throw inf_.error(line.number, "Der Registrierungsschlüssel fehlt.");
    return canonical + "\\" + path;
}

std::string PlanContext::destinationOf(const std::string& list, int line) const
{
    const InfLine* d = inf_.line("DestinationDirs", list);
    if (!d)
        d = inf_.line("DestinationDirs", "DefaultDestDir");
    if (!d)
        throw inf_.error(line, "[DestinationDirs] nennt keinen Zielordner für " + list + ".");
    const int dirid = static_cast<int>(number(*d, field(*d, 0)));
    // Files go only where installations go; the INF's own folder (1) is a source.
    if (dirid != kDiridInfFolder && dirid != kDiridPrograms && dirid < kFirstCustomDirid)
        throw inf_.error(d->number, "Die Ordnernummer " + field(*d, 0) + " ist kein Zielordner.");
    const std::string* folder = placeholders_.folder(dirid);
    if (!folder)
        throw inf_.error(d->number, "Die Ordnernummer " + field(*d, 0) + " ist hier unbekannt.");
    const std::string sub = expand(*d, 1);
    if (sub.empty())
        return *folder;
    if (!isContainedName(sub))
        throw inf_.error(d->number, "Unzulässiger Ordnername \"" + sub + "\".");
    return *folder + "/" + sub;
}

std::string PlanContext::sourceOf(const std::string& name, int line) const
{
    if (!isContainedName(name))
        throw inf_.error(line, "Unzulässiger Quellname \"" + name + "\".");
    const InfLine* file = inf_.line("SourceDisksFiles", name);
    if (!file)
        throw inf_.error(line, name + " fehlt in [SourceDisksFiles].");
    const InfLine* disk = inf_.line("SourceDisksNames", field(*file, 0));
    if (!disk)
        throw inf_.error(file->number, "Die Quelle " + field(*file, 0) + " fehlt in [SourceDisksNames].");
    std::string path = *placeholders_.folder(kDiridSource);
    for (const std::string& part : {expand(*disk, 3), expand(*file, 1)}) {
        if (part.empty())
            continue;
        if (!isContainedName(part))
            throw inf_.error(line, "Unzulässiger Quellordner \"" + part + "\".");
        path += "/" + part;
    }
    return path + "/" + name;
}

}  // namespace infinstall
