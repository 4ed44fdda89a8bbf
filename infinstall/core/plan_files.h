#pragma once
// The files of a plan: CopyFiles, DelFiles and DelDirs lists, and the folders the new files need.
#include <string>

#include "infinstall/core/file_system.h"
#include "infinstall/core/install_plan.h"
#include "infinstall/core/plan_context.h"

namespace infinstall {

// Plans the copies of the list `list` named on `line`. `sources`, when given, reads the start
// of each source file for its mode; without it every copy is planned as data.
void planCopies(const PlanContext& context, const std::string& list, int line, FileSystem* sources,
                InstallPlan& plan);

// Plans the removals of the list; true when one of them lies in the INF folder, which may then
// be left empty.
bool planRemovals(const PlanContext& context, const std::string& list, int line, InstallPlan& plan);

// Plans the removal of the folders the list names, each only when it lies in a chosen folder.
void planFolderRemovals(const PlanContext& context, const std::string& list, int line, InstallPlan& plan);

// The mode a copied file gets from its first bytes: programs and libraries (ELF) 0755; a file
// kept on re-installation (data the program writes) 0666 when every user shares it; everything
// else 0644.
unsigned modeFor(const std::string& start, bool keepExisting, bool systemWide);

// Adds the folders `file` needs to the plan's, parents first, each once.
void addFoldersFor(const std::string& file, InstallPlan& plan);

}  // namespace infinstall
