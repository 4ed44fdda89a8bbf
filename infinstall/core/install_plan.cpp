#include "infinstall/core/install_plan.h"

#include <cstdio>
#include <string_view>

#include "infinstall/core/plan_context.h"
#include "infinstall/core/plan_files.h"
#include "infinstall/core/plan_registry.h"
#include "infinstall/core/program_groups.h"
#include "infinstall/core/section_questions.h"

namespace infinstall {
namespace {

const char* const kDirectives[] = {"BeginPrompt",
                                   "EndPrompt",
                                   "CustomDestination",
                                   "CopyFiles",
                                   "DelFiles",
                                   "DelDirs",
                                   "AddReg",
                                   "DelReg",
                                   "UpdateInis",
                                   "DesktopCategories",
                                   "DesktopWindowClass",
                                   "RequiredEngine"};

bool endsWithIgnoringCase(const std::string& text, std::string_view end)
{
    return text.size() >= end.size() &&
           equalsIgnoringCase(std::string_view(text).substr(text.size() - end.size()), end);
}

void checkDirectives(const InfFile& inf, const InfSection& section)
{
    for (const InfLine& line : section.lines) {
        bool known = false;
        for (const char* directive : kDirectives)
            known = known || equalsIgnoringCase(line.key, directive);
        if (!known)
            throw inf.error(line.number, "Die Anweisung \"" + (line.hasKey ? line.key : field(line, 0)) +
                                             "\" wird nicht unterstützt.");
    }
}

}  // namespace

PlanBuilder::PlanBuilder(const InfFile& inf, const Places& places, const Registry& registry,
                         FileSystem* sources)
    : inf_(inf), places_(places), registry_(registry), sources_(sources)
{
}

std::string PlanBuilder::versionProblem() const
{
    const InfLine* line = inf_.line("Version", "AdvancedINF");
    if (!line || line->fields.empty())
        return {};
    const PlanContext context(inf_, places_, {});
    const std::string wanted = context.expand(*line, 0);
    int major = 0, minor = 0;
    if (std::sscanf(wanted.c_str(), "%d.%d", &major, &minor) < 1)
        throw inf_.error(line->number, "Unlesbare Version \"" + wanted + "\".");
    if (major < 2 || (major == 2 && minor <= 5))
        return {};
    const std::string message = context.expand(*line, 1);
    return message.empty() ? "Diese Installation braucht eine neuere Version von infinstall." : message;
}

const InfSection& PlanBuilder::section(const std::string& name) const
{
    if (const InfSection* s = inf_.section(name))
        return *s;
    if (endsWithIgnoringCase(name, ".ntx86"))
        if (const InfSection* s = inf_.section(name.substr(0, name.size() - 6)))
            return *s;
    throw inf_.error(0, "Der Abschnitt [" + name + "] fehlt.");
}

SectionQuestions PlanBuilder::questions(const InfSection& section) const
{
    checkDirectives(inf_, section);
    return questionsOf(PlanContext(inf_, places_, {}), registry_, section);
}

InstallPlan PlanBuilder::plan(const InfSection& section, const std::map<int, std::string>& folders) const
{
    checkDirectives(inf_, section);
    const PlanContext context(inf_, places_, folders);
    InstallPlan plan;
    EntryKeys keys;
    ProgramGroups groups;
    bool emptiesStore = false;  // removes the INF files or the last registry values
    for (const InfLine& line : section.lines) {
        if (equalsIgnoringCase(line.key, "DesktopCategories")) {
            keys.categories = context.expand(line, 0);
            continue;
        }
        if (equalsIgnoringCase(line.key, "DesktopWindowClass")) {
            keys.windowClass = context.expand(line, 0);
            continue;
        }
        for (const std::string& list : listsOf(line)) {
            if (equalsIgnoringCase(line.key, "CopyFiles"))
                planCopies(context, list, line.number, sources_, plan);
            else if (equalsIgnoringCase(line.key, "DelFiles"))
                emptiesStore = planRemovals(context, list, line.number, plan) || emptiesStore;
            else if (equalsIgnoringCase(line.key, "DelDirs"))
                planFolderRemovals(context, list, line.number, plan);
            else if (equalsIgnoringCase(line.key, "AddReg"))
                planRegistry(context, list, line.number, false, plan);
            else if (equalsIgnoringCase(line.key, "DelReg"))
                planRegistry(context, list, line.number, true, plan);
            else if (equalsIgnoringCase(line.key, "UpdateInis"))
                groups.read(context, list, line.number);
        }
    }
    emptiesStore = planRegistryFile(places_, plan) || emptiesStore;
    groups.plan(context, keys, plan);
    if (emptiesStore) {
        plan.emptyFoldersToRemove.push_back(places_.infFolder);
        plan.emptyFoldersToRemove.push_back(places_.store);
    }
    return plan;
}

}  // namespace infinstall
