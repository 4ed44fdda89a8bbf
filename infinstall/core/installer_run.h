#pragma once
// One run of infinstall from its command line to its exit code.
#include <functional>
#include <optional>
#include <string>

#include "infinstall/core/file_system.h"
#include "infinstall/core/inf_file.h"
#include "infinstall/core/installer_ui.h"
#include "infinstall/core/invocation.h"
#include "infinstall/core/places.h"

namespace infinstall {

enum ExitCode { kDone = 0, kCancelled = 1, kFailed = 2 };

struct RunContext {
    Places places;
    FileSystem& files;
    InstallerUi& ui;
    // Loads a shared library by name; see checkRuntime.
    std::function<std::string(const std::string&)> loadLibrary;
};

// Reads the INF the command line names through `files`; nothing, with the reason, when it
// cannot be read or is not a valid INF.
std::optional<InfFile> readInf(const Invocation& call, FileSystem& files, std::string& error);

int runInstaller(const Invocation& call, const InfFile& inf, RunContext& context);

struct RunSummary {
    std::string product = "infinstall";  // as the section's begin prompt is titled
    bool removes = true;                 // copies nothing
};
RunSummary summarise(const Invocation& call, const InfFile& inf, const Places& places);

// True when the section names nothing to do, so that no window is needed at all.
bool sectionIsEmpty(const Invocation& call, const InfFile& inf);

}  // namespace infinstall
