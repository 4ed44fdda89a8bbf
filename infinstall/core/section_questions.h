#pragma once
// What a section asks before anything is planned: its begin and end prompts and the folder
// questions of its CustomDestination lists.
#include "core/install_plan.h"
#include "core/plan_context.h"
#include "core/registry.h"

namespace infinstall {

// `registry` gives the folders of earlier installations. Throws InfError.
SectionQuestions questionsOf(const PlanContext& context, const Registry& registry, const InfSection& section);

}  // namespace infinstall
