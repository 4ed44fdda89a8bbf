#pragma once
// Carrying out an install plan as one step: every file is first written under a name of its
// own beside its target, then all are renamed into place. A failure or a cancel on the way
// undoes everything this run did, so an earlier installation stays as it was.
#include <string>

#include "infinstall/core/file_system.h"
#include "infinstall/core/install_plan.h"

namespace infinstall {

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // `done` of `total` files are written; `name` is the last one.
    virtual void advanced(int done, int total, const std::string& name) = 0;
    virtual bool cancelled() = 0;
};

// Returns false with the reason in `error` when the plan could not be carried out; nothing is
// changed then. `registryPath` is the file of the registry values.
bool carryOut(const InstallPlan& plan, const std::string& registryPath, FileSystem& files,
              ProgressSink* progress, std::string& error);

}  // namespace infinstall
