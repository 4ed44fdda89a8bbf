#include "infinstall/core/program_groups.h"

#include "infinstall/core/plan_files.h"
#include "infinstall/core/polkit_policy.h"

namespace infinstall {
namespace {

ProgramItem item(const PlanContext& context, const std::string& text, int line)
{
    const std::vector<std::string> parts = splitFields(text, ',');
    ProgramItem item;
    const auto part = [&](size_t i) {
        return i < parts.size() ? context.placeholders().expand(parts[i], line) : std::string();
    };
    item.name = part(0);
    for (const std::string& word : splitFields(parts.size() > 1 ? parts[1] : "", ' '))
        if (!word.empty())
            item.command.push_back(context.placeholders().expand(word, line));
    item.icon = part(2);
    item.folder = part(6);
    if (item.name.empty() || item.command.empty())
        throw context.inf().error(line, "Ein Programmeintrag braucht einen Namen und eine Befehlszeile.");
    return item;
}

}  // namespace

void ProgramGroups::read(const PlanContext& context, const std::string& list, int line)
{
    for (const InfLine& l : context.listed(list, line).lines) {
        if (!equalsIgnoringCase(context.expand(l, 0), "setup.ini"))
            throw context.inf().error(l.number, "Nur Programmgruppen (setup.ini) werden unterstützt.");
        const std::string section = context.expand(l, 1);
        const std::string before = field(l, 2), after = field(l, 3);
        if (equalsIgnoringCase(section, "progman.groups")) {
            const std::string& entry = after.empty() ? before : after;
            const size_t eq = entry.find('=');
            if (eq == std::string::npos)
                throw context.inf().error(l.number,
                                          "Eine Programmgruppe wird als \"groupN=Name\" angegeben.");
            Group& group = groupFor(entry.substr(0, eq));
            group.title = context.placeholders().expand(entry.substr(eq + 1), l.number);
            group.removed = after.empty();
        } else if (!after.empty()) {
            groupFor(section).items.push_back(item(context, after, l.number));
        }
    }
}

ProgramGroups::Group& ProgramGroups::groupFor(const std::string& key)
{
    for (Group& g : groups_)
        if (equalsIgnoringCase(g.key, key))
            return g;
    groups_.push_back({key, "", false, {}});
    return groups_.back();
}

void ProgramGroups::plan(const PlanContext& context, const EntryKeys& keys, InstallPlan& plan) const
{
    const Places& places = context.places();
    for (const Group& group : groups_) {
        if (group.title.empty())
            continue;  // items of a group nobody declared
        const std::string path = places.applications + "/" + entryFileName(group.title);
        const std::string policy = places.polkitActions.empty()
                                       ? std::string()
                                       : places.polkitActions + "/" + polkitPolicyFileName(group.title);
        if (group.removed) {
            plan.removals.push_back(path);
            if (!policy.empty())
                plan.removals.push_back(policy);
        } else if (!group.items.empty()) {
            addFoldersFor(path, plan);
            plan.entries.push_back({path, programEntryText(group.items, keys)});
            for (const ProgramItem& item : group.items)
                plan.programCommands.push_back(item.command);
            plan.programName = group.items.front().name;
            plan.inGames = (";" + keys.categories).find(";Game;") != std::string::npos;
            // Lets a player ask for an administrator to run the kept infinstall, as the
            // entry's actions do for a system-wide installation.
            if (!policy.empty()) {
                addFoldersFor(policy, plan);
                plan.entries.push_back(
                    {policy, polkitPolicyText(group.title, places.infFolder + "/infinstall",
                                              places.infFolder + "/" + context.inf().fileName())});
            }
        }
    }
}

}  // namespace infinstall
