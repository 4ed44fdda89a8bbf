#pragma once
// The program groups of a section's UpdateInis lists (setup.ini's [progman.groups] and the
// groups' items), collected over the whole section and then planned as desktop entries, with
// the polkit action of a system-wide entry.
#include <string>
#include <vector>

#include "infinstall/core/desktop_entry.h"
#include "infinstall/core/install_plan.h"
#include "infinstall/core/plan_context.h"

namespace infinstall {

class ProgramGroups {
public:
    // Reads the list `list` named on `line`. Throws InfError.
    void read(const PlanContext& context, const std::string& list, int line);

    // The entries of the groups read, or their removals; `keys` go into every entry.
    void plan(const PlanContext& context, const EntryKeys& keys, InstallPlan& plan) const;

private:
    struct Group {
        std::string key, title;
        bool removed = false;
        std::vector<ProgramItem> items;
    };
    Group& groupFor(const std::string& key);

    std::vector<Group> groups_;
};

}  // namespace infinstall
