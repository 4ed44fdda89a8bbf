#pragma once
// A run of the driver on a generated package inside a private folder: the package is the
// "own file", $TMPDIR points into the folder, processes and the administrator check are fakes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/setup/support/work_folder.h"
#include "tests/setup/driver/fake_setup_window.h"
#include "tests/setup/driver/fake_system.h"
#include "tools/mkpackage/package_builder.h"
#include "setup/driver/setup_run.h"
#include "tests/setup/support/temp_dir.h"

namespace setup::testing {

mkpackage::EntryPlan storedEntry(const std::string& name, const std::string& content);
// The shipped package's header: product, script name, notice, admin only, hidden Info
// button, advanced installer; unattended (no welcome text, window closes by itself).
mkpackage::PackagePlan shippedLikePlan();
// The shipped kind of content: the script and a file in a sub-folder.
std::vector<mkpackage::EntryPlan> sampleEntries();

class DriverFixture : public ::testing::Test {
protected:
    DriverFixture();
    ~DriverFixture() override;

    // Writes the package as the own file and runs the start-up.
    bool prepare(const mkpackage::PackagePlan& plan);
    bool prepareBytes(const mkpackage::Bytes& bytes);
    // The rest of the run once the window has closed.
    int finish();
    // Finishes the run, if that has not happened, and starts a fresh one with an empty log.
    void restart();

    std::string work(const std::string& name) const { return workFolder() + "/" + name; }
    static bool exists(const std::string& path);

    TempDir dir;
    std::string tmp = dir.file("tmp");  // what $TMPDIR names
    std::string workFolder() const { return runWorkFolder(tmp); }
    std::string ownPath = dir.file("KARVELO-setup.run");
    std::string startFolder;  // the current folder when the test began
    FakeSystem system;
    FakeSetupWindow window;
    SetupRun run;
    bool finished = false;

private:
    std::string previousTmpdir_;
    bool hadTmpdir_ = false;
};

}  // namespace setup::testing
