// The command lines handed to the installer, the folder it runs in and the waiting.
#include <sys/stat.h>
#include <unistd.h>

#include "tests/setup/driver/driver_fixture.h"
#include "setup/driver/installer_script.h"
#include "setup/package/work_folder.h"

namespace setup::testing {
namespace {

std::string firstLine(bool advanced, const std::string& systemFolder)
{
    char line[kCommandLineSize];
    EXPECT_TRUE(installerCommandLine(line, sizeof line, advanced, systemFolder.c_str(), "/tmp/$Pakorix.Tmp",
                                     "KARV10G1.INF"));
    return line;
}

TEST(InstallerCommandLine, AdvancedInstallerRunsTheNtSectionThenTheEmptyOne)
{
    EXPECT_EQ(firstLine(true, "/var/tmp/"),
              "rundll32.exe advpack,LaunchINFSection /tmp/$Pakorix.Tmp/KARV10G1.INF,"
              "DefaultInstall2.ntx86");
    char line[kCommandLineSize];
    ASSERT_TRUE(followUpCommandLine(line, sizeof line, "/tmp/$Pakorix.Tmp", "KARV10G1.INF"));
    EXPECT_STREQ(line, "rundll32.exe advpack,LaunchINFSection /tmp/$Pakorix.Tmp/KARV10G1.INF,"
                       "DefaultInstallX");
}

TEST(InstallerCommandLine, BasicInstallerIsSetupxOnlyWhereTheSystemFolderHoldsIt)
{
    TempDir system;
    const std::string folder = system.path() + "/";
    EXPECT_EQ(firstLine(false, folder), "rundll32.exe setupapi,InstallHinfSection DefaultInstall 132 "
                                        "/tmp/$Pakorix.Tmp/KARV10G1.INF");
    // The name is matched exactly, as the file system does.
    system.write("setupx.dll", "");
    EXPECT_EQ(firstLine(false, folder).rfind("rundll32.exe setupapi,", 0), 0u);
    system.write("SetupX.dll", "MZ");
    EXPECT_EQ(firstLine(false, folder), "rundll.exe setupx.dll,InstallHinfSection DefaultInstall 132 "
                                        "/tmp/$Pakorix.Tmp/KARV10G1.INF");
}

TEST(InstallerCommandLine, LineThatDoesNotFitIsRefused)
{
    char line[64];
    EXPECT_FALSE(
        installerCommandLine(line, sizeof line, true, "/var/tmp/", "/tmp/$Pakorix.Tmp", "KARV10G1.INF"));
}

class InstallerScript : public DriverFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(prepare(shippedLikePlan()));
        ASSERT_TRUE(ensureWorkFolder(workFolder().c_str(), run.extraction.workFolderFd, window));
    }
};

TEST_F(InstallerScript, AdvancedInstallerRunsInTheWorkFolderAndIsWaitedFor)
{
    // Both run in the work folder held open, not in whatever its name stands for by now.
    const std::string held = workFolder() + ".held";
    ASSERT_EQ(rename(workFolder().c_str(), held.c_str()), 0);
    ASSERT_EQ(mkdir(workFolder().c_str(), 0700), 0);
    runInstallerScript(run, window);
    ASSERT_EQ(system.starts.size(), 2u);
    const std::string script = workFolder() + "/KARV10G1.INF";
    EXPECT_EQ(system.starts[0].commandLine,
              "rundll32.exe advpack,LaunchINFSection " + script + ",DefaultInstall2.ntx86");
    EXPECT_EQ(system.starts[0].workFolder, held);
    EXPECT_FALSE(system.starts[0].highPriority);
    EXPECT_EQ(system.starts[1].commandLine,
              "rundll32.exe advpack,LaunchINFSection " + script + ",DefaultInstallX");
    EXPECT_EQ(system.starts[1].workFolder, held);
    EXPECT_TRUE(system.starts[1].highPriority);
    // The window lives while the first one runs; the second is waited for plainly.
    EXPECT_EQ(system.waitsWithEvents, (std::vector<bool>{true, false}));
    EXPECT_EQ(window.entries("service").size(), 2u);
    EXPECT_TRUE(window.entries("stop").empty());
    // The setup's own current folder never moved.
    char buffer[4096];
    EXPECT_EQ(std::string(getcwd(buffer, sizeof buffer)), startFolder);
}

TEST_F(InstallerScript, BasicInstallerRunsOnce)
{
    run.settings.header.advancedInf = 0;
    runInstallerScript(run, window);
    ASSERT_EQ(system.starts.size(), 1u);
    EXPECT_EQ(system.starts[0].commandLine, "rundll32.exe setupapi,InstallHinfSection DefaultInstall 132 " +
                                                workFolder() + "/KARV10G1.INF");
    EXPECT_EQ(system.waitsWithEvents, std::vector<bool>{true});
}

TEST_F(InstallerScript, InstallerThatCannotStartIsReportedAndTheRunGoesOn)
{
    system.startResults = {false, true};
    runInstallerScript(run, window);
    EXPECT_EQ(window.log,
              std::vector<std::string>{"stop Fehler beim Initialisieren der Installation. / Fehler"});
    // The second section is still tried, and waited for without events.
    ASSERT_EQ(system.starts.size(), 2u);
    EXPECT_EQ(system.waitsWithEvents, std::vector<bool>{false});
    char buffer[4096];
    EXPECT_EQ(std::string(getcwd(buffer, sizeof buffer)), startFolder);
}

TEST_F(InstallerScript, SecondSectionThatCannotStartIsNotReported)
{
    system.startResults = {true, false};
    runInstallerScript(run, window);
    EXPECT_EQ(system.starts.size(), 2u);
    EXPECT_TRUE(window.entries("stop").empty());
    EXPECT_EQ(system.waitsWithEvents, std::vector<bool>{true});
}

}  // namespace
}  // namespace setup::testing
