// libFuzzer target: a hostile INF, read by infinstall's reader, and the questions and the plan
// of every section it names, worked out against places in a scratch folder with every asked
// folder chosen inside it. Refusals (InfError) are what hostile text should get. Besides the
// sanitizers, it traps when a planned folder, copy, entry, removal, empty-folder removal or
// the registry lies outside the places, or a copy's source outside the INF's folder.

#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "infinstall/core/inf_file.h"
#include "infinstall/core/install_plan.h"
#include "infinstall/core/registry.h"

namespace {

using namespace infinstall;

// The scratch folder: the INF's own folder (with one program in it, for the mode check) and
// the places. Nothing is written there by the planner; it only reads the sources' first bytes.
const std::string& root()
{
    // run-fuzz.sh names it in KV_FUZZ_ROOT so that it can remove it afterwards.
    static const std::string path = [] {
        char folder[] = "/tmp/kv-fuzz-inf.XXXXXX";
        const char* given = getenv("KV_FUZZ_ROOT");
        if (given ? mkdir(given, 0700) != 0 : !mkdtemp(folder))
            abort();
        const std::string made = given ? given : folder;
        if (mkdir((made + "/src").c_str(), 0700) != 0)
            abort();
        std::ofstream(made + "/src/kv5", std::ios::binary) << "\x7f"
                                                              "ELF";
        return made;
    }();
    return path;
}

Places scratchPlaces(bool systemWide)
{
    const std::string& r = root();
    return {systemWide,
            r + "/programs",
            r + "/store",
            r + "/store/inf",
            r + "/store/registry",
            r + "/applications",
            r + "/autostart",
            systemWide ? r + "/polkit" : std::string()};
}

// Absolute, without empty, "." or ".." parts and without a trailing slash.
bool isTidy(const std::string& path)
{
    if (path.size() < 2 || path.front() != '/' || path.back() == '/')
        return false;
    return path.find("//") == std::string::npos && path.find("/./") == std::string::npos &&
           path.find("/../") == std::string::npos && path.compare(path.size() - 2, 2, "/.") != 0 &&
           path.compare(path.size() - 3, 3, "/..") != 0;
}

bool isBelow(const std::string& path, const std::string& folder)
{
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/';
}

enum class Reach { Below, BelowOrSame, BelowSameOrAbove };

void check(const std::string& what, const std::string& path, const std::vector<std::string>& roots,
           Reach reach)
{
    bool inside = false;
    for (const std::string& r : roots) {
        inside = inside || isBelow(path, r);
        if (reach != Reach::Below)
            inside = inside || path == r;
        if (reach == Reach::BelowSameOrAbove)
            inside = inside || isBelow(r, path) || path == "/";
    }
    if (!isTidy(path) || !inside) {
        fprintf(stderr, "%s outside the places: %s\n", what.c_str(), path.c_str());
        __builtin_trap();
    }
}

void checkPlan(const InstallPlan& plan, const Places& places)
{
    std::vector<std::string> roots = {places.programs, places.store, places.applications, places.autostart};
    if (!places.polkitActions.empty())
        roots.push_back(places.polkitActions);
    // Folders the copies need include the existing parents of the places themselves.
    for (const std::string& folder : plan.folders)
        check("folder", folder, roots, Reach::BelowSameOrAbove);
    for (const FileCopy& copy : plan.copies) {
        check("copy target", copy.target, roots, Reach::Below);
        check("copy source", copy.source, {root() + "/src"}, Reach::Below);
    }
    for (const TextFile& entry : plan.entries)
        check("entry", entry.path, roots, Reach::Below);
    for (const std::string& file : plan.removals)
        check("removal", file, roots, Reach::Below);
    for (const std::string& folder : plan.emptyFoldersToRemove)
        check("empty-folder removal", folder, roots, Reach::BelowOrSame);
    if (!plan.registry.empty())
        check("registry", places.registry, {places.store}, Reach::Below);
}

// The folder the person chooses: the INF's default when it lies inside the programs folder,
// else one of its own there.
std::string chosenFolder(const DestinationQuestion& q, const Places& places)
{
    if (isTidy(q.defaultFolder) && isBelow(q.defaultFolder, places.programs))
        return q.defaultFolder;
    return places.programs + "/d" + std::to_string(q.dirid);
}

void planEverySection(const InfFile& inf, const Places& places)
{
    const Registry registry;
    const PlanBuilder builder(inf, places, registry);
    try {
        (void)builder.versionProblem();
    } catch (const InfError&) {
    }
    size_t planned = 0;
    for (const InfSection& section : inf.sections()) {
        if (++planned > 64)
            break;  // enough to reach every kind of section; keeps runs short
        try {
            std::map<int, std::string> folders;
            for (const DestinationQuestion& q : builder.questions(section).destinations)
                folders.emplace(q.dirid, chosenFolder(q, places));
            checkPlan(builder.plan(section, folders), places);
        } catch (const InfError&) {
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        const InfFile inf = InfFile::parse(root() + "/src/FUZZ.INF", bytes);
        // Both kinds of installation: the modes and the shared places differ.
        planEverySection(inf, scratchPlaces(size % 2 == 0));
    } catch (const InfError&) {
    }
    return 0;
}
