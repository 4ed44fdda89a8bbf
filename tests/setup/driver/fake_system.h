#pragma once
// Replaces the administrator check and the installer processes of a run with recorders.
#include <functional>
#include <string>
#include <vector>

#include "setup/driver/setup_run.h"

namespace setup::testing {

struct InstallerStart {
    std::string commandLine;
    std::string workFolder;  // the folder its descriptor holds: where it runs, "" for none
    bool highPriority;
};

class FakeSystem {
public:
    FakeSystem();
    ~FakeSystem();
    FakeSystem(const FakeSystem&) = delete;
    FakeSystem& operator=(const FakeSystem&) = delete;

    // The calls to put into SetupRun::system.
    const SystemCalls* calls() const { return &calls_; }

    bool administrator = true;
    int administratorQueries = 0;
    // Which starts succeed, by order; starts beyond the list succeed.
    std::vector<bool> startResults;
    // How many times a wait with events lets them run before the child ends.
    int serviceRounds = 2;

    std::vector<InstallerStart> starts;
    std::vector<bool> waitsWithEvents;  // one per wait: whether events were serviced

private:
    SystemCalls calls_;
};

}  // namespace setup::testing
