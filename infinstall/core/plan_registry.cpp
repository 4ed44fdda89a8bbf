#include "infinstall/core/plan_registry.h"

#include "infinstall/core/desktop_entry.h"
#include "infinstall/core/plan_files.h"

namespace infinstall {
namespace {

const char kRunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// A one-time command of the login: the rundll host stands for the kept infinstall. The INF's
// command text is split into words before its placeholders are expanded, as for a program
// entry, so that a folder with blanks or tabs stays one argument as it is.
void planRunOnce(const PlanContext& context, const std::string& name, const std::string& commandText,
                 int line, InstallPlan& plan)
{
    const Places& places = context.places();
    if (places.autostart.empty())
        return;
    std::vector<std::string> command;
    for (const std::string& word : splitFields(commandText, ' '))
        if (!word.empty())
            command.push_back(context.placeholders().expand(word, line));
    if (command.empty())
        return;
    if (equalsIgnoringCase(command.front(), "rundll32.exe") ||
        equalsIgnoringCase(command.front(), "rundll.exe"))
        command.front() = places.infFolder + "/infinstall";
    const std::string path = places.autostart + "/infinstall-" + entryFileName(name);
    addFoldersFor(path, plan);
    plan.entries.push_back({path, runOnceEntryText(name, command, path)});
}

}  // namespace

void planRegistry(const PlanContext& context, const std::string& list, int line, bool remove,
                  InstallPlan& plan)
{
    for (const InfLine& l : context.listed(list, line).lines) {
        RegistryChange change;
        change.remove = remove;
        change.key = context.registryKey(l);
        if (l.fields.size() > 2)
            change.name = context.expand(l, 2);
        change.data = context.expand(l, 4);
        if (!remove && equalsIgnoringCase(context.expand(l, 1), kRunOnceKey))
            planRunOnce(context, change.name.value_or("run-once"), field(l, 4), l.number, plan);
        else
            plan.registry.push_back(change);
    }
}

bool planRegistryFile(const Places& places, InstallPlan& plan)
{
    if (plan.registry.empty())
        return false;
    addFoldersFor(places.registry, plan);
    for (const RegistryChange& change : plan.registry)
        if (!change.remove)
            return false;
    return true;
}

}  // namespace infinstall
