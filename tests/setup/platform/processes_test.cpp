#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "setup/platform/processes.h"
#include "tests/setup/support/temp_dir.h"

namespace setup {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

// Each test runs in a fresh tree: work/ is the private work folder the package is unpacked into
// (the child runs in it), here/ the setup's current folder, beside/ the folder of the setup's own file and
// bin/ the only folder on PATH. The installer stand-ins are small shell scripts that write what they saw into
// report files in the tree's root.
class StartInstaller : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedCwd_ = fs::current_path();
        const char* path = getenv("PATH");
        hadPath_ = path != nullptr;
        if (hadPath_)
            savedPath_ = path;
        for (const std::string& folder : {work(), here(), beside(), bin()})
            fs::create_directories(folder);
        chmod(work().c_str(), 0700);
        workFd_ = open(work().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(workFd_, 0);
        fs::current_path(here());
        setenv("PATH", bin().c_str(), 1);
    }
    void TearDown() override
    {
        close(workFd_);
        fs::current_path(savedCwd_);
        if (hadPath_)
            setenv("PATH", savedPath_.c_str(), 1);
        else
            unsetenv("PATH");
    }

    std::string work() const { return tree_.file("work"); }
    std::string here() const { return tree_.file("here"); }
    std::string beside() const { return tree_.file("beside"); }
    std::string bin() const { return tree_.file("bin"); }
    std::string report(const std::string& name) const { return tree_.file(name); }

    // An `infinstall` in `folder` running `body` under /bin/sh.
    void installer(const std::string& folder, const std::string& body, mode_t mode = 0755)
    {
        const std::string path = folder + "/infinstall";
        // PATH holds only bin/ while the tests run; the scripts need the system's tools.
        std::ofstream(path) << "#!/bin/sh\nPATH=/usr/bin:/bin\n" << body << "\n";
        chmod(path.c_str(), mode);
    }
    // One that records which copy ran.
    void namedInstaller(const std::string& folder, const std::string& name, mode_t mode = 0755)
    {
        installer(folder, "echo " + name + " > '" + report("which") + "'", mode);
    }

    // Starts the line and waits plainly; the result of startInstaller.
    bool runToEnd(const char* line)
    {
        ChildProcess child;
        if (!startInstaller(line, workFd_, false, &child))
            return false;
        EXPECT_GT(child.pid, 0);
        waitForChild(&child, nullptr, nullptr);
        EXPECT_EQ(child.pid, 0);
        return true;
    }
    std::string which() const { return TempDir::read(report("which")); }

    TempDir tree_;
    int workFd_ = -1;  // the work folder, held open as the setup holds it

private:
    fs::path savedCwd_;
    std::string savedPath_;
    bool hadPath_ = false;
};

constexpr const char* kLine = "rundll32.exe advpack,LaunchINFSection /w/KARV10G1.INF,DefaultInstall2";

mode_t modeOf(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// The copy the package unpacked runs; without one of our own there, the one on PATH. A copy in
// the current folder, beside the setup file or behind an empty PATH entry never runs.
TEST_F(StartInstaller, RunsTheCarriedCopyElseTheOneOnPath)
{
    struct Case {
        const char* what;
        std::function<void()> carry;  // puts something named infinstall into work/
        const char* ran;
        mode_t carriedModeAfter;  // 0: not looked at
    };
    const std::string carried = work() + "/infinstall";
    const std::vector<Case> cases = {
        {"unpacked as a data file", [&] { namedInstaller(work(), "work", 0644); }, "work\n", 0744},
        {"unpacked private", [&] { namedInstaller(work(), "work", 0600); }, "work\n", 0700},
        {"none carried", [] {}, "path\n", 0},
        {"a link to a program elsewhere",
         [&] { ASSERT_EQ(symlink((beside() + "/infinstall").c_str(), carried.c_str()), 0); }, "path\n", 0},
        {"a folder", [&] { fs::create_directories(carried); }, "path\n", 0},
        {"another user's file",
         [&] {
             namedInstaller(work(), "work", 0755);
             ASSERT_EQ(lchown(carried.c_str(), 65534, 65534), 0);
         },
         "path\n", 0755},
    };
    namedInstaller(here(), "here");
    namedInstaller(beside(), "beside");
    namedInstaller(bin(), "path");
    setenv("PATH", ("::" + bin()).c_str(), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (std::string(c.what) == "another user's file" && geteuid() != 0)
            continue;
        fs::remove_all(carried);
        fs::remove(report("which"));
        c.carry();
        ASSERT_TRUE(runToEnd(kLine));
        EXPECT_EQ(which(), c.ran);
        if (c.carriedModeAfter) {
            EXPECT_EQ(modeOf(carried), c.carriedModeAfter);
        }
    }
}

TEST_F(StartInstaller, SkipsWhatIsNotAnExecutableFileOnPath)
{
    fs::create_directories(tree_.file("first/infinstall"));  // a folder, although searchable
    namedInstaller(tree_.file("second"), "second", 0644);
    namedInstaller(bin(), "path");
    setenv("PATH", (tree_.file("first") + ":" + tree_.file("second") + ":" + bin()).c_str(), 1);
    ASSERT_TRUE(runToEnd(kLine));
    EXPECT_EQ(which(), "path\n");
}

TEST_F(StartInstaller, ReportsAProgramThatCannotBeFoundOrStarted)
{
    namedInstaller(beside(), "beside");
    ChildProcess child;
    EXPECT_FALSE(startInstaller(kLine, workFd_, false, &child));
    EXPECT_EQ(child.pid, 0);
    EXPECT_FALSE(startInstaller(kLine, -1, false, &child));

    // Executable, but neither a binary nor a script: no shell is asked to make sense of it.
    std::ofstream(work() + "/infinstall") << "echo started > '" << report("which") << "'\n";
    EXPECT_FALSE(startInstaller(kLine, workFd_, false, &child));
    EXPECT_EQ(child.pid, 0);
    EXPECT_FALSE(fs::exists(report("which")));
}

TEST_F(StartInstaller, PassesTheLineAfterTheHostWordForWordWithoutAShell)
{
    installer(work(),
              "{ echo \"$#\"; for a in \"$@\"; do echo \"[$a]\"; done; pwd; echo \"$KV_MARK\"; } > '" +
                  report("args") + "'");
    setenv("KV_MARK", "inherited", 1);
    ASSERT_TRUE(runToEnd(
        "  rundll32.exe   advpack,LaunchINFSection\t/tmp/$Pakorix.Tmp/KARV10G1.INF,DefaultInstall2.ntx86"
        "  $HOME;echo *'\"  "));
    unsetenv("KV_MARK");
    EXPECT_EQ(TempDir::read(report("args")),
              "4\n[advpack,LaunchINFSection]\n[/tmp/$Pakorix.Tmp/KARV10G1.INF,DefaultInstall2.ntx86]\n"
              "[$HOME;echo]\n[*'\"]\n" +
                  fs::canonical(work()).string() + "\ninherited\n");

    ASSERT_TRUE(runToEnd("rundll32.exe"));
    EXPECT_EQ(TempDir::read(report("args")).substr(0, 2), "0\n");
}

TEST_F(StartInstaller, ChildKeepsNoDescriptorOfOursAndGetsItsOwnSession)
{
    // Opened without close-on-exec on purpose, as a careless library might.
    const int leaky = open(tree_.path().c_str(), O_RDONLY);
    ASSERT_GE(leaky, 3);
    sigset_t blocked, previous;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR1);
    sigprocmask(SIG_BLOCK, &blocked, &previous);
    // The mask is read by the exec'd reader itself: a shell blocks every signal while it forks,
    // so reading the shell's own mask from a forked command sees that passing state.
    const std::string seen = "'" + report("seen") + "'";
    installer(work(), "{ [ -e /proc/$$/fd/" + std::to_string(leaky) +
                          " ] && echo open || echo closed; cut -d' ' -f6 /proc/$$/stat; } > " + seen +
                          "\nexec grep SigBlk /proc/self/status >> " + seen);
    ChildProcess child;
    const bool started = startInstaller(kLine, workFd_, false, &child);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    close(leaky);
    ASSERT_TRUE(started);
    const int pid = child.pid;
    waitForChild(&child, nullptr, nullptr);
    EXPECT_EQ(TempDir::read(report("seen")),
              "closed\n" + std::to_string(pid) + "\nSigBlk:\t0000000000000000\n");
}

struct Gate {
    std::string goFile;
    int calls = 0;
};

void openGateOnThirdCall(void* context)
{
    auto* gate = static_cast<Gate*>(context);
    if (++gate->calls == 3)
        std::ofstream(gate->goFile) << "go";
}

TEST_F(StartInstaller, WaitingServicesEventsUntilTheChildHasEnded)
{
    // The child cannot end before the third call has opened its gate, so the calls happen while
    // it runs; it finishes by writing `done`, which must exist when the wait returns.
    Gate gate{report("go")};
    const std::string doneFile = report("done");
    installer(work(), "while [ ! -e '" + gate.goFile +
                          "' ]; do sleep 0.01; done\n"
                          "cut -d' ' -f19 /proc/$$/stat > '" +
                          doneFile + "'\nexit 3");
    ChildProcess child;
    ASSERT_TRUE(startInstaller(kLine, workFd_, true, &child));
    waitForChild(&child, openGateOnThirdCall, &gate);
    EXPECT_EQ(child.pid, 0);
    EXPECT_GE(gate.calls, 3);
    ASSERT_TRUE(fs::exists(doneFile));
    // A raised priority is granted to root only; others keep the parent's.
    const int expectedNice = geteuid() == 0 ? -10 : getpriority(PRIO_PROCESS, 0);
    EXPECT_EQ(TempDir::read(doneFile), std::to_string(expectedNice) + "\n");
}

TEST_F(StartInstaller, PlainWaitReturnsOnlyAfterTheEnd)
{
    installer(work(), "sleep 0.1; echo done > '" + report("done") + "'");
    ASSERT_TRUE(runToEnd(kLine));
    EXPECT_EQ(TempDir::read(report("done")), "done\n");
}

TEST(SplitArguments, RefusesWhatDoesNotFit)
{
    char buffer[64];
    char* args[2];
    EXPECT_EQ(splitArguments("host a b c", buffer, sizeof buffer, args, 2), -1);
    EXPECT_EQ(splitArguments("host a b", buffer, sizeof buffer, args, 2), 2);
    EXPECT_STREQ(args[1], "b");
    char tiny[6];
    EXPECT_EQ(splitArguments("host a b", tiny, sizeof tiny, args, 2), -1);
}

}  // namespace
}  // namespace setup
