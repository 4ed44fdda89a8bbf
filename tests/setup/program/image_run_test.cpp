// The built setup program run as its own process on packages behind it: the unattended
// installation from start to end, and the failures that stop it before the installer.
//
// A failure shows a message box; with the offscreen platform nobody can answer it, so those
// runs are recognised by what they leave behind and by still waiting after the time the
// whole successful run needs. The boxes' texts are checked in the in-process tests.
#include <filesystem>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdio.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/setup/support/work_folder.h"
#include "tests/setup/program/program_support.h"
#include "tools/mkpackage/volumes.h"

extern char** environ;

namespace setup::testing {
namespace {

constexpr int kFinishMs = 20000;  // a whole run takes well under a second
constexpr int kBlockedMs = 2500;  // how long a run stuck in a box is watched

class ImageRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        mkdir(tmp.c_str(), 0777);
        chmod(tmp.c_str(), 01777);  // also for the run under another user
        chmod(dir.path().c_str(), 0755);
        // Planted beside the setup file, where nobody may look for it.
        writeFakeInstaller(dir.path());
    }

    // Starts `argv` with the test's environment: offscreen, $TMPDIR, the installer's log. With a
    // descriptor in `program`, that file is started, whatever argv[0] names.
    pid_t start(const std::vector<std::string>& args, const std::string& path = "", int program = -1)
    {
        std::vector<std::string> env = {
            "QT_QPA_PLATFORM=offscreen", "TMPDIR=" + tmp, "KV_INFINSTALL_LOG=" + log,
            "PATH=" + (path.empty() ? std::string(getenv("PATH")) : path), "HOME=" + dir.path()};
        std::vector<char*> argv, envp;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        for (const std::string& e : env)
            envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        pid_t pid = 0;
        if (program < 0) {
            EXPECT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()), 0);
        } else if ((pid = fork()) == 0) {
            fexecve(program, argv.data(), envp.data());
            _exit(127);
        }
        return pid;
    }

    // The exit code within `ms`, or -1 (the process is then still running).
    static int waitFor(pid_t pid, int ms)
    {
        for (int waited = 0; waited <= ms; waited += 20) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            const timespec pause = {0, 20 * 1000 * 1000};
            nanosleep(&pause, nullptr);
        }
        return -1;
    }

    static void stop(pid_t pid)
    {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }

    // Runs to the end; the exit code.
    int run(const std::vector<std::string>& args, const std::string& path = "")
    {
        const pid_t pid = start(args, path);
        const int code = waitFor(pid, kFinishMs);
        if (code < 0)
            stop(pid);
        return code;
    }

    // True when the program is still waiting (in a box) after the watch; it is then ended.
    bool staysWaiting(const std::vector<std::string>& args, const std::string& path = "")
    {
        const pid_t pid = start(args, path);
        const bool waiting = waitFor(pid, kBlockedMs) < 0;
        if (waiting)
            stop(pid);
        return waiting;
    }

    static bool exists(const std::string& path)
    {
        struct stat info;
        return lstat(path.c_str(), &info) == 0;
    }

    TempDir dir;
    std::string tmp = dir.file("tmp");
    std::string work() const { return runWorkFolder(tmp); }
    std::string log = tmp + "/installer.log";  // writable for the other user too
};

TEST_F(ImageRun, UnattendedRunInstallsWaitsForTheInstallerAndCleansUp)
{
    const std::string setupFile = writePackage(dir, programPlan());
    ASSERT_EQ(run({setupFile}), 0);
    const std::vector<std::string> seen = installerLog(log);
    ASSERT_GE(seen.size(), 2u);
    // "$Pakorix.Tmp" in a folder of the run's own, made in the temporary folder.
    const std::string work = seen[1].substr(4);
    EXPECT_EQ(work.rfind(tmp + "/KARVELO-", 0), 0u) << work;
    EXPECT_EQ(work.size(), tmp.size() + 15 + 13) << work;
    const std::string script = work + "/KARV10G1.INF";
    // Both sections ran in the work folder while the files were there, one after the other.
    EXPECT_EQ(seen, (std::vector<std::string>{"start", "cwd=" + work, "arg=advpack,LaunchINFSection",
                                              "arg=" + script + ",DefaultInstall2.ntx86", "inf=present",
                                              "end", "start", "cwd=" + work, "arg=advpack,LaunchINFSection",
                                              "arg=" + script + ",DefaultInstallX", "inf=present", "end"}));
    EXPECT_EQ(ownFolderOfRun(tmp), "");
}

TEST_F(ImageRun, PackageIsReadFromTheRunningFileNotFromItsPath)
{
    const std::string setupFile = writePackage(dir, programPlan());
    const int running = open(setupFile.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(running, 0);
    // By the time the setup reads its package, its path names a file whose package is cut short.
    mkpackage::PackagePlan cut = programPlan();
    cut.tail = {'R', 'S'};
    ASSERT_EQ(rename(writePackage(dir, cut, "cut.run").c_str(), setupFile.c_str()), 0);
    const pid_t pid = start({setupFile}, "", running);
    close(running);
    const int code = waitFor(pid, kFinishMs);
    if (code < 0)
        stop(pid);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(installerLog(log).size(), 12u);
    EXPECT_FALSE(exists(work()));
}

TEST_F(ImageRun, NonAdministratorIsRefusedBeforeAnythingIsUnpacked)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to start the setup as user 65534";
    const std::vector<std::string> asNobody = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534",
                                               "--clear-groups"};
    // The same user may run a package that does not ask for an administrator.
    std::vector<std::string> open = asNobody;
    open.push_back(writePackage(dir, programPlan(), "open.run"));
    ASSERT_EQ(run(open), 0);
    EXPECT_EQ(installerLog(log).size(), 12u);
    ASSERT_EQ(unlink(log.c_str()), 0);

    mkpackage::PackagePlan plan = programPlan();
    plan.header.adminOnly = true;
    std::vector<std::string> limited = asNobody;
    limited.push_back(writePackage(dir, plan, "limited.run"));
    EXPECT_TRUE(staysWaiting(limited));
    EXPECT_FALSE(exists(work()));
    EXPECT_FALSE(exists(log));
    // Root is an administrator.
    EXPECT_EQ(run({limited.back()}), 0);
    EXPECT_EQ(installerLog(log).size(), 12u);
}

TEST_F(ImageRun, IncompletePackageStopsBeforeTheWindow)
{
    mkpackage::PackagePlan plan = programPlan();
    plan.tail = {'R', 'S'};
    EXPECT_TRUE(staysWaiting({writePackage(dir, plan)}));
    EXPECT_FALSE(exists(work()));
    EXPECT_FALSE(exists(log));
}

TEST_F(ImageRun, MissingVolumeIsAskedForBeforeTheWindow)
{
    mkpackage::PackagePlan plan = programPlan();
    plan.header.multiVolume = true;
    const mkpackage::BuiltPackage built = mkpackage::buildPackage(plan);
    const auto pieces = mkpackage::splitIntoVolumes(built.bytes, built.archiveStart + 60, built.archiveStart);
    ASSERT_GE(pieces.size(), 2u);
    const std::string first = dir.write("KARVELO-setup.run", std::string(pieces[0].begin(), pieces[0].end()));
    chmod(first.c_str(), 0755);
    EXPECT_TRUE(staysWaiting({first}));
    EXPECT_FALSE(exists(log));
    EXPECT_FALSE(exists(work() + "/KARV10G1.INF"));
    // The waiting run was ended from outside and could not clean up.
    std::filesystem::remove_all(ownFolderOfRun(tmp));

    // With the second volume in place the same run goes through.
    dir.write("KARVELO-setup.001", std::string(pieces[1].begin(), pieces[1].end()));
    EXPECT_EQ(run({first}), 0);
    EXPECT_EQ(installerLog(log).size(), 12u);
    EXPECT_FALSE(exists(work()));
}

TEST_F(ImageRun, InstallerBesideTheSetupFileIsNeverRun)
{
    // The package carries none and PATH has none: the one planted beside the setup file in
    // SetUp must not stand in for them.
    mkpackage::PackagePlan plan = programPlan();
    plan.entries.pop_back();
    const std::string setupFile = writePackage(dir, plan);
    EXPECT_TRUE(staysWaiting({setupFile}, "/nonexistent"));
    // Unpacked, then stopped at the message: nothing ran, nothing was deleted yet.
    EXPECT_TRUE(exists(work() + "/KARV10G1.INF"));
    EXPECT_FALSE(exists(log));
}

}  // namespace
}  // namespace setup::testing
