#include "infinstall/core/plan_files.h"

#include "infinstall/core/paths.h"

namespace infinstall {
namespace {

// Each file of a copy or delete list: its target folder and the line naming it. "@name" is a
// list of one file, in DefaultDestDir.
template <typename Visit>
void eachFile(const PlanContext& context, const std::string& list, int line, Visit visit)
{
    if (!list.empty() && list.front() == '@') {
        InfLine single;
        single.number = line;
        single.fields = {list.substr(1)};
        visit(context.destinationOf("DefaultDestDir", line), single);
        return;
    }
    const std::string folder = context.destinationOf(list, line);
    for (const InfLine& l : context.listed(list, line).lines)
        visit(folder, l);
}

}  // namespace

unsigned modeFor(const std::string& start, bool keepExisting, bool systemWide)
{
    if (start.compare(0, 4,
                      "\x7f"
                      "ELF") == 0)
        return 0755;
    return keepExisting && systemWide ? 0666 : 0644;
}

void planCopies(const PlanContext& context, const std::string& list, int line, FileSystem* sources,
                InstallPlan& plan)
{
    eachFile(context, list, line, [&](const std::string& folder, const InfLine& l) {
        const std::string target = context.expand(l, 0);
        if (!isContainedName(target))
            throw context.inf().error(l.number, "Unzulässiger Zielname \"" + target + "\".");
        const std::string sourceName = field(l, 1).empty() ? target : context.expand(l, 1);
        FileCopy copy;
        copy.source = context.sourceOf(sourceName, l.number);
        copy.target = folder + "/" + target;
        copy.keepExisting = (context.number(l, field(l, 3)) & 0x10) != 0;
        std::string start, ignored;
        if (sources)
            sources->readFile(copy.source, start, ignored, 4);
        copy.mode = modeFor(start, copy.keepExisting, context.places().systemWide);
        addFoldersFor(copy.target, plan);
        if (folderOf(copy.target) == context.places().infFolder)
            plan.keepsInf = true;
        plan.copies.push_back(copy);
    });
}

bool planRemovals(const PlanContext& context, const std::string& list, int line, InstallPlan& plan)
{
    bool inInfFolder = false;
    eachFile(context, list, line, [&](const std::string& folder, const InfLine& l) {
        const std::string name = context.expand(l, 0);
        if (!isContainedName(name))
            throw context.inf().error(l.number, "Unzulässiger Dateiname \"" + name + "\".");
        plan.removals.push_back(folder + "/" + name);
        inInfFolder = inInfFolder || folder == context.places().infFolder;
    });
    return inInfFolder;
}

void planFolderRemovals(const PlanContext& context, const std::string& list, int line, InstallPlan& plan)
{
    for (const InfLine& l : context.listed(list, line).lines) {
        const std::string path = context.expand(l, 0);
        bool allowed = false;
        for (const std::string& folder : context.customFolders())
            if (isBelowOrSame(path, folder) &&
                (path == folder || isContainedName(path.substr(folder.size() + 1))))
                allowed = true;
        if (!allowed)
            throw context.inf().error(l.number, "\"" + path + "\" liegt nicht im Installationsordner.");
        plan.emptyFoldersToRemove.push_back(path);
    }
}

void addFoldersFor(const std::string& file, InstallPlan& plan)
{
    std::vector<std::string> chain;
    for (std::string folder = folderOf(file); folder != "/" && folder != "."; folder = folderOf(folder))
        chain.insert(chain.begin(), folder);
    for (const std::string& folder : chain) {
        bool known = false;
        for (const std::string& f : plan.folders)
            known = known || f == folder;
        if (!known)
            plan.folders.push_back(folder);
    }
}

}  // namespace infinstall
