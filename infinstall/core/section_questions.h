#pragma once
// What a section asks before anything is planned: its begin and end prompts and the folder
// questions of its CustomDestination lists.
#include "infinstall/core/install_plan.h"
#include "infinstall/core/plan_context.h"
#include "infinstall/core/registry.h"

namespace infinstall {

// `registry` gives the folders of earlier installations. Throws InfError.
SectionQuestions questionsOf(const PlanContext& context, const Registry& registry, const InfSection& section);

}  // namespace infinstall
