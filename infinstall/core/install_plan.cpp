#include "core/install_plan.h"

#include "core/desktop_entry.h"
#include "core/folder_check.h"
#include "core/placeholders.h"
#include "core/polkit_policy.h"

namespace infinstall {
namespace {

const char* const kDirectives[] = {"BeginPrompt", "EndPrompt", "CustomDestination", "CopyFiles",
                                   "DelFiles",    "DelDirs",   "AddReg",            "DelReg",
                                   "UpdateInis",  "DesktopCategories", "DesktopWindowClass",
                                   "RequiredEngine"};
const char kRunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

bool endsWithIgnoringCase(const std::string& text, std::string_view end)
{
    return text.size() >= end.size() &&
           equalsIgnoringCase(std::string_view(text).substr(text.size() - end.size()), end);
}

std::string field(const InfLine& line, size_t index)
{
    return index < line.fields.size() ? line.fields[index] : std::string();
}

unsigned number(const InfFile& inf, const InfLine& line, const std::string& text)
{
    if (text.empty()) return 0;
    try {
        size_t used = 0;
        const unsigned long value = std::stoul(text, &used, 0);
        if (used == text.size() && value <= 0xFFFFFFFFul) return static_cast<unsigned>(value);
    } catch (const std::exception&) {
    }
    throw inf.error(line.number, "\"" + text + "\" ist keine Zahl.");
}

bool isBelowOrSame(const std::string& path, const std::string& folder)
{
    return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                              path[folder.size()] == '/');
}

// The program group and its items, collected from UpdateInis lines.
struct ProgramGroup {
    std::string key, title;
    bool removed = false;
    std::vector<ProgramItem> items;
};

class Planner {
public:
    Planner(const InfFile& inf, const Places& places, const Registry& registry,
            const std::map<int, std::string>& folders, FileSystem* sources = nullptr)
        : inf_(inf), places_(places), registry_(registry), sources_(sources), placeholders_(inf)
    {
        placeholders_.setFolder(kDiridSource, folderOf(inf.path()));
        placeholders_.setFolder(kDiridInfFolder, places.infFolder);
        placeholders_.setFolder(kDiridPrograms, places.programs);
        for (const auto& [dirid, folder] : folders) {
            placeholders_.setFolder(dirid, folder);
            customFolders_.push_back(folder);
        }
    }

    const Placeholders& placeholders() const { return placeholders_; }

    std::string expand(const InfLine& line, size_t index) const
    {
        return placeholders_.expand(field(line, index), line.number);
    }

    const InfSection& listed(const std::string& name, int line) const
    {
        const InfSection* section = inf_.section(name);
        if (!section) throw inf_.error(line, "Der Abschnitt [" + name + "] fehlt.");
        return *section;
    }

    Prompt prompt(const std::string& name, int line) const
    {
        const InfSection& section = listed(name, line);
        Prompt prompt;
        for (const InfLine& l : section.lines) {
            if (equalsIgnoringCase(l.key, "Title")) prompt.title = expand(l, 0);
            else if (equalsIgnoringCase(l.key, "Prompt")) prompt.text = expand(l, 0);
            else if (equalsIgnoringCase(l.key, "ButtonType")) {
                const std::string type = expand(l, 0);
                if (equalsIgnoringCase(type, "YESNO")) prompt.yesNo = true;
                else if (!equalsIgnoringCase(type, "OKCANCEL"))
                    throw inf_.error(l.number, "Unbekannte Schaltflächen \"" + type + "\".");
            }
        }
        if (prompt.text.empty()) throw inf_.error(section.number, "[" + name + "] hat keinen Prompt.");
        return prompt;
    }

    std::vector<DestinationQuestion> destinations(const std::string& name, int line) const
    {
        std::vector<DestinationQuestion> questions;
        for (const InfLine& l : listed(name, line).lines) {
            DestinationQuestion q;
            q.dirid = static_cast<int>(number(inf_, l, l.key));
            if (!l.hasKey || q.dirid < kFirstCustomDirid)
                throw inf_.error(l.number, "Ein Zielordner braucht eine Nummer ab 49000.");
            q.flags = number(inf_, l, field(l, 1));
            const InfSection& choices = listed(field(l, 0), l.number);
            for (const InfLine& choice : choices.lines) {
                if (q.prompt.empty()) {
                    q.prompt = expand(choice, 3);
                    q.defaultFolder = expand(choice, 4);
                    q.overwriteWarning = expand(choice, 5);
                }
                if (!q.recordedFolder)
                    q.recordedFolder = registry_.value(registryKey(choice), expand(choice, 2));
            }
            if (q.recordedFolder && q.recordedFolder->empty()) q.recordedFolder.reset();
            questions.push_back(q);
        }
        return questions;
    }

    std::string registryKey(const InfLine& line) const
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
        if (path.empty()) throw inf_.error(line.number, "Der Registrierungsschlüssel fehlt.");
        return canonical + "\\" + path;
    }

    // The folder a copy or delete list goes to: its line in [DestinationDirs], else DefaultDestDir.
    std::string destinationOf(const std::string& list, int line) const
    {
        const InfLine* d = inf_.line("DestinationDirs", list);
        if (!d) d = inf_.line("DestinationDirs", "DefaultDestDir");
        if (!d) throw inf_.error(line, "[DestinationDirs] nennt keinen Zielordner für " + list + ".");
        const int dirid = static_cast<int>(number(inf_, *d, field(*d, 0)));
        // Files go only where installations go; the INF's own folder (1) is a source.
        if (dirid != kDiridInfFolder && dirid != kDiridPrograms && dirid < kFirstCustomDirid)
            throw inf_.error(d->number, "Die Ordnernummer " + field(*d, 0) + " ist kein Zielordner.");
        const std::string* folder = placeholders_.folder(dirid);
        if (!folder) throw inf_.error(d->number, "Die Ordnernummer " + field(*d, 0) + " ist hier unbekannt.");
        const std::string sub = expand(*d, 1);
        if (sub.empty()) return *folder;
        if (!isContainedName(sub)) throw inf_.error(d->number, "Unzulässiger Ordnername \"" + sub + "\".");
        return *folder + "/" + sub;
    }

    std::string sourceOf(const std::string& name, int line) const
    {
        if (!isContainedName(name)) throw inf_.error(line, "Unzulässiger Quellname \"" + name + "\".");
        const InfLine* file = inf_.line("SourceDisksFiles", name);
        if (!file) throw inf_.error(line, name + " fehlt in [SourceDisksFiles].");
        const InfLine* disk = inf_.line("SourceDisksNames", field(*file, 0));
        if (!disk) throw inf_.error(file->number, "Die Quelle " + field(*file, 0) + " fehlt in [SourceDisksNames].");
        std::string path = *placeholders_.folder(kDiridSource);
        for (const std::string& part : {expand(*disk, 3), expand(*file, 1)}) {
            if (part.empty()) continue;
            if (!isContainedName(part)) throw inf_.error(line, "Unzulässiger Quellordner \"" + part + "\".");
            path += "/" + part;
        }
        return path + "/" + name;
    }

    // Each file of a copy or delete list: its target path and the line naming it.
    template <typename Visit>
    void eachFile(const std::string& list, int line, Visit visit) const
    {
        if (!list.empty() && list.front() == '@') {
            const std::string name = list.substr(1);
            InfLine single;
            single.number = line;
            single.fields = {name};
            visit(destinationOf("DefaultDestDir", line), single);
            return;
        }
        const std::string folder = destinationOf(list, line);
        for (const InfLine& l : listed(list, line).lines) visit(folder, l);
    }

    void copyFiles(const std::string& list, int line, InstallPlan& plan) const
    {
        eachFile(list, line, [&](const std::string& folder, const InfLine& l) {
            const std::string target = expand(l, 0);
            if (!isContainedName(target)) throw inf_.error(l.number, "Unzulässiger Zielname \"" + target + "\".");
            const std::string sourceName = field(l, 1).empty() ? target : expand(l, 1);
            FileCopy copy;
            copy.source = sourceOf(sourceName, l.number);
            copy.target = folder + "/" + target;
            copy.keepExisting = (number(inf_, l, field(l, 3)) & 0x10) != 0;
            std::string start, ignored;
            if (sources_) sources_->readFile(copy.source, start, ignored, 4);
            copy.mode = modeFor(start, copy.keepExisting, places_.systemWide);
            addFoldersFor(copy.target, plan);
            if (folderOf(copy.target) == places_.infFolder) plan.keepsInf = true;
            plan.copies.push_back(copy);
        });
    }

    void deleteFiles(const std::string& list, int line, InstallPlan& plan) const
    {
        eachFile(list, line, [&](const std::string& folder, const InfLine& l) {
            const std::string name = expand(l, 0);
            if (!isContainedName(name)) throw inf_.error(l.number, "Unzulässiger Dateiname \"" + name + "\".");
            plan.removals.push_back(folder + "/" + name);
            if (folder == places_.infFolder) storeEmptied_ = true;
        });
    }

    void deleteFolders(const std::string& list, int line, InstallPlan& plan) const
    {
        for (const InfLine& l : listed(list, line).lines) {
            const std::string path = expand(l, 0);
            bool allowed = false;
            for (const std::string& folder : customFolders_)
                if (isBelowOrSame(path, folder) && (path == folder || isContainedName(path.substr(folder.size() + 1))))
                    allowed = true;
            if (!allowed)
                throw inf_.error(l.number, "\"" + path + "\" liegt nicht im Installationsordner.");
            plan.emptyFoldersToRemove.push_back(path);
        }
    }

    void addFoldersFor(const std::string& file, InstallPlan& plan) const
    {
        std::vector<std::string> chain;
        for (std::string folder = folderOf(file); folder != "/" && folder != "."; folder = folderOf(folder))
            chain.insert(chain.begin(), folder);
        for (const std::string& folder : chain) {
            bool known = false;
            for (const std::string& f : plan.folders) known = known || f == folder;
            if (!known) plan.folders.push_back(folder);
        }
    }

    void addRegistry(const std::string& list, int line, bool remove, InstallPlan& plan) const
    {
        for (const InfLine& l : listed(list, line).lines) {
            RegistryChange change;
            change.remove = remove;
            change.key = registryKey(l);
            if (l.fields.size() > 2) change.name = expand(l, 2);
            change.data = expand(l, 4);
            if (!remove && equalsIgnoringCase(expand(l, 1), kRunOnceKey))
                addRunOnce(change.name.value_or("run-once"), field(l, 4), l.number, plan);
            else
                plan.registry.push_back(change);
        }
    }

    // A one-time command of the login: the rundll host stands for the kept infinstall. The
    // INF's command text is split into words before its placeholders are expanded, as for a
    // program entry, so that a folder with blanks or tabs stays one argument as it is.
    void addRunOnce(const std::string& name, const std::string& commandText, int line,
                    InstallPlan& plan) const
    {
        if (places_.autostart.empty()) return;
        std::vector<std::string> command;
        for (const std::string& word : splitFields(commandText, ' '))
            if (!word.empty()) command.push_back(placeholders_.expand(word, line));
        if (command.empty()) return;
        if (equalsIgnoringCase(command.front(), "rundll32.exe") || equalsIgnoringCase(command.front(), "rundll.exe"))
            command.front() = places_.infFolder + "/infinstall";
        const std::string path = places_.autostart + "/infinstall-" + entryFileName(name);
        addFoldersFor(path, plan);
        plan.entries.push_back({path, runOnceEntryText(name, command, path)});
    }

    void updateInis(const std::string& list, int line) const
    {
        for (const InfLine& l : listed(list, line).lines) {
            if (!equalsIgnoringCase(expand(l, 0), "setup.ini"))
                throw inf_.error(l.number, "Nur Programmgruppen (setup.ini) werden unterstützt.");
            const std::string section = expand(l, 1);
            const std::string before = field(l, 2), after = field(l, 3);
            if (equalsIgnoringCase(section, "progman.groups")) {
                const std::string& entry = after.empty() ? before : after;
                const size_t eq = entry.find('=');
                if (eq == std::string::npos)
                    throw inf_.error(l.number, "Eine Programmgruppe wird als \"groupN=Name\" angegeben.");
                ProgramGroup& group = groupFor(entry.substr(0, eq));
                group.title = placeholders_.expand(entry.substr(eq + 1), l.number);
                group.removed = after.empty();
            } else if (!after.empty()) {
                groupFor(section).items.push_back(item(after, l.number));
            }
        }
    }

    ProgramItem item(const std::string& text, int line) const
    {
        const std::vector<std::string> parts = splitFields(text, ',');
        ProgramItem item;
        const auto part = [&](size_t i) {
            return i < parts.size() ? placeholders_.expand(parts[i], line) : std::string();
        };
        item.name = part(0);
        for (const std::string& word : splitFields(parts.size() > 1 ? parts[1] : "", ' '))
            if (!word.empty()) item.command.push_back(placeholders_.expand(word, line));
        item.icon = part(2);
        item.folder = part(6);
        if (item.name.empty() || item.command.empty())
            throw inf_.error(line, "Ein Programmeintrag braucht einen Namen und eine Befehlszeile.");
        return item;
    }

    ProgramGroup& groupFor(const std::string& key) const
    {
        for (ProgramGroup& g : groups_)
            if (equalsIgnoringCase(g.key, key)) return g;
        groups_.push_back({key, "", false, {}});
        return groups_.back();
    }

    void finishGroups(const EntryKeys& keys, InstallPlan& plan) const
    {
        for (const ProgramGroup& group : groups_) {
            if (group.title.empty()) continue;  // items of a group nobody declared
            const std::string path = places_.applications + "/" + entryFileName(group.title);
            const std::string policy = places_.polkitActions.empty() ? std::string()
                                       : places_.polkitActions + "/" + polkitPolicyFileName(group.title);
            if (group.removed) {
                plan.removals.push_back(path);
                if (!policy.empty()) plan.removals.push_back(policy);
            } else if (!group.items.empty()) {
                addFoldersFor(path, plan);
                plan.entries.push_back({path, programEntryText(group.items, keys)});
                for (const ProgramItem& item : group.items) plan.programCommands.push_back(item.command);
                plan.programName = group.items.front().name;
                plan.inGames = (";" + keys.categories).find(";Game;") != std::string::npos;
                // Lets a player ask for an administrator to run the kept infinstall, as the
                // entry's actions do for a system-wide installation.
                if (!policy.empty()) {
                    addFoldersFor(policy, plan);
                    plan.entries.push_back({policy, polkitPolicyText(group.title, places_.infFolder + "/infinstall",
                                                                       places_.infFolder + "/" + inf_.fileName())});
                }
            }
        }
        if (storeEmptied_) {
            plan.emptyFoldersToRemove.push_back(places_.infFolder);
            plan.emptyFoldersToRemove.push_back(places_.store);
        }
    }

    void addRegistryStore(InstallPlan& plan) const
    {
        if (!plan.registry.empty()) addFoldersFor(places_.registry, plan);
        bool removesOnly = !plan.registry.empty();
        for (const RegistryChange& change : plan.registry) removesOnly = removesOnly && change.remove;
        if (removesOnly) storeEmptied_ = true;
    }

private:
    const InfFile& inf_;
    const Places& places_;
    const Registry& registry_;
    FileSystem* sources_;
    Placeholders placeholders_;
    std::vector<std::string> customFolders_;
    mutable std::vector<ProgramGroup> groups_;
    mutable bool storeEmptied_ = false;
};

std::vector<std::string> listsOf(const InfLine& line)
{
    std::vector<std::string> lists;
    for (const std::string& f : line.fields)
        if (!f.empty()) lists.push_back(f);
    return lists;
}

void checkDirectives(const InfFile& inf, const InfSection& section)
{
    for (const InfLine& line : section.lines) {
        bool known = false;
        for (const char* directive : kDirectives) known = known || equalsIgnoringCase(line.key, directive);
        if (!known)
            throw inf.error(line.number, "Die Anweisung \"" + (line.hasKey ? line.key : field(line, 0)) +
                                             "\" wird nicht unterstützt.");
    }
}

}  // namespace

bool isContainedName(const std::string& name)
{
    if (name.empty() || name.front() == '/' || name.find('\\') != std::string::npos) return false;
    for (const std::string& part : pathParts(name))
        if (part.empty() || part == "." || part == "..") return false;
    return true;
}

unsigned modeFor(const std::string& start, bool keepExisting, bool systemWide)
{
    if (start.compare(0, 4, "\x7f" "ELF") == 0) return 0755;
    return keepExisting && systemWide ? 0666 : 0644;
}

PlanBuilder::PlanBuilder(const InfFile& inf, const Places& places, const Registry& registry,
                         FileSystem* sources)
    : inf_(inf), places_(places), registry_(registry), sources_(sources)
{
}

std::string PlanBuilder::versionProblem() const
{
    const InfLine* line = inf_.line("Version", "AdvancedINF");
    if (!line || line->fields.empty()) return {};
    Planner planner(inf_, places_, registry_, {});
    const std::string wanted = planner.expand(*line, 0);
    int major = 0, minor = 0;
    if (std::sscanf(wanted.c_str(), "%d.%d", &major, &minor) < 1)
        throw inf_.error(line->number, "Unlesbare Version \"" + wanted + "\".");
    if (major < 2 || (major == 2 && minor <= 5)) return {};
    const std::string message = planner.expand(*line, 1);
    return message.empty() ? "Diese Installation braucht eine neuere Version von infinstall." : message;
}

const InfSection& PlanBuilder::section(const std::string& name) const
{
    if (const InfSection* s = inf_.section(name)) return *s;
    if (endsWithIgnoringCase(name, ".ntx86"))
        if (const InfSection* s = inf_.section(name.substr(0, name.size() - 6))) return *s;
    throw inf_.error(0, "Der Abschnitt [" + name + "] fehlt.");
}

SectionQuestions PlanBuilder::questions(const InfSection& section) const
{
    checkDirectives(inf_, section);
    Planner planner(inf_, places_, registry_, {});
    SectionQuestions questions;
    for (const InfLine& line : section.lines) {
        const std::vector<std::string> lists = listsOf(line);
        if (lists.empty()) continue;
        if (equalsIgnoringCase(line.key, "BeginPrompt")) questions.beginPrompt = planner.prompt(lists[0], line.number);
        else if (equalsIgnoringCase(line.key, "EndPrompt")) questions.endPrompt = planner.prompt(lists[0], line.number);
        else if (equalsIgnoringCase(line.key, "CustomDestination")) {
            for (const std::string& list : lists)
                for (const DestinationQuestion& q : planner.destinations(list, line.number))
                    questions.destinations.push_back(q);
        }
    }
    return questions;
}

InstallPlan PlanBuilder::plan(const InfSection& section, const std::map<int, std::string>& folders) const
{
    checkDirectives(inf_, section);
    Planner planner(inf_, places_, registry_, folders, sources_);
    InstallPlan plan;
    EntryKeys keys;
    for (const InfLine& line : section.lines) {
        if (equalsIgnoringCase(line.key, "DesktopCategories")) {
            keys.categories = planner.expand(line, 0);
            continue;
        }
        if (equalsIgnoringCase(line.key, "DesktopWindowClass")) {
            keys.windowClass = planner.expand(line, 0);
            continue;
        }
        for (const std::string& list : listsOf(line)) {
            if (equalsIgnoringCase(line.key, "CopyFiles")) planner.copyFiles(list, line.number, plan);
            else if (equalsIgnoringCase(line.key, "DelFiles")) planner.deleteFiles(list, line.number, plan);
            else if (equalsIgnoringCase(line.key, "DelDirs")) planner.deleteFolders(list, line.number, plan);
            else if (equalsIgnoringCase(line.key, "AddReg")) planner.addRegistry(list, line.number, false, plan);
            else if (equalsIgnoringCase(line.key, "DelReg")) planner.addRegistry(list, line.number, true, plan);
            else if (equalsIgnoringCase(line.key, "UpdateInis")) planner.updateInis(list, line.number);
        }
    }
    planner.addRegistryStore(plan);
    planner.finishGroups(keys, plan);
    return plan;
}

}  // namespace infinstall
