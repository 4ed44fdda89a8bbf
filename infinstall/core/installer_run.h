#pragma once
// One run of infinstall from its command line to its exit code.
#include <functional>
#include <string>

#include "core/file_system.h"
#include "core/installer_ui.h"
#include "core/invocation.h"
#include "core/places.h"

namespace infinstall {

enum ExitCode { kDone = 0, kCancelled = 1, kFailed = 2 };

struct RunContext {
    Places places;
    FileSystem& files;
    InstallerUi& ui;
    // Loads a shared library by name; see checkRuntime.
    std::function<std::string(const std::string&)> loadLibrary;
};

int runInstaller(const Invocation& call, RunContext& context);

// True when the section names nothing to do, so that no window is needed at all. Reads the INF;
// false when it cannot be read (the run then reports that).
bool sectionIsEmpty(const Invocation& call);

}  // namespace infinstall
