#pragma once
// The registry values of a plan: AddReg and DelReg lists, the RunOnce values among them (an
// autostart entry here), and the registry file they need.
#include <string>

#include "infinstall/core/install_plan.h"
#include "infinstall/core/plan_context.h"

namespace infinstall {

// Plans the values of the list `list` named on `line`: set, or removed with `remove`.
void planRegistry(const PlanContext& context, const std::string& list, int line, bool remove,
                  InstallPlan& plan);

// Adds the folders of the registry file when the plan changes values; true when it only removes
// values, so that infinstall's own folder may be left empty.
bool planRegistryFile(const Places& places, InstallPlan& plan);

}  // namespace infinstall
