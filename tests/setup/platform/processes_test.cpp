#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "setup/platform/processes.h"
#include "setup/support/temp_dir.h"

namespace setup {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

// Each test runs in a fresh tree: work/ is the current folder, own/ the setup's own folder and
// bin/ the only folder on PATH. The installer stand-ins are small shell scripts that write what
// they saw into report files in the tree's root.
class StartInstaller : public ::testing::Test {
protected:
  void SetUp() override {
    savedCwd_ = fs::current_path();
    const char* path = getenv("PATH");
    hadPath_ = path != nullptr;
    if (hadPath_) savedPath_ = path;
    fs::create_directories(work());
    fs::create_directories(own());
    fs::create_directories(bin());
    fs::current_path(work());
    setenv("PATH", bin().c_str(), 1);
  }
  void TearDown() override {
    fs::current_path(savedCwd_);
    if (hadPath_) setenv("PATH", savedPath_.c_str(), 1);
    else unsetenv("PATH");
  }

  std::string work() const { return tree_.file("work"); }
  std::string own() const { return tree_.file("own"); }
  std::string bin() const { return tree_.file("bin"); }
  std::string report(const std::string& name) const { return tree_.file(name); }

  // An `infinstall` in `folder` running `body` under /bin/sh.
  void installer(const std::string& folder, const std::string& body, mode_t mode = 0755) {
    const std::string path = folder + "/infinstall";
    // PATH holds only bin/ while the tests run; the scripts need the system's tools.
    std::ofstream(path) << "#!/bin/sh\nPATH=/usr/bin:/bin\n" << body << "\n";
    chmod(path.c_str(), mode);
  }
  // One that records which copy ran.
  void namedInstaller(const std::string& folder, const std::string& name, mode_t mode = 0755) {
    installer(folder, "echo " + name + " > '" + report("which") + "'", mode);
  }

  // Starts the line and waits plainly; the result of startInstaller.
  bool runToEnd(const char* line) {
    ChildProcess child;
    if (!startInstaller(line, own().c_str(), false, &child)) return false;
    EXPECT_GT(child.pid, 0);
    waitForChild(&child, nullptr, nullptr);
    EXPECT_EQ(child.pid, 0);
    return true;
  }
  std::string which() const { return TempDir::read(report("which")); }

  TempDir tree_;

private:
  fs::path savedCwd_;
  std::string savedPath_;
  bool hadPath_ = false;
};

constexpr const char* kLine = "rundll32.exe advpack,LaunchINFSection /w/KARV10G1.INF,DefaultInstall2";

TEST_F(StartInstaller, LooksInTheCurrentFolderThenTheOwnFolderThenPath) {
  namedInstaller(work(), "work");
  namedInstaller(own(), "own");
  namedInstaller(bin(), "path");
  ASSERT_TRUE(runToEnd(kLine));
  EXPECT_EQ(which(), "work\n");

  fs::remove(work() + "/infinstall");
  ASSERT_TRUE(runToEnd(kLine));
  EXPECT_EQ(which(), "own\n");

  fs::remove(own() + "/infinstall");
  ASSERT_TRUE(runToEnd(kLine));
  EXPECT_EQ(which(), "path\n");
}

TEST_F(StartInstaller, SkipsWhatIsNotAnExecutableFile) {
  namedInstaller(work(), "work", 0644);
  fs::create_directories(own() + "/infinstall");  // a folder, although searchable
  fs::create_directories(tree_.file("first"));
  namedInstaller(bin(), "path");
  setenv("PATH", (tree_.file("first") + "::" + bin()).c_str(), 1);
  ASSERT_TRUE(runToEnd(kLine));
  EXPECT_EQ(which(), "path\n");
}

TEST_F(StartInstaller, ReportsAProgramThatCannotBeFoundOrStarted) {
  ChildProcess child;
  EXPECT_FALSE(startInstaller(kLine, own().c_str(), false, &child));
  EXPECT_EQ(child.pid, 0);
  EXPECT_FALSE(startInstaller(kLine, nullptr, false, &child));

  // Executable, but neither a binary nor a script: no shell is asked to make sense of it.
  std::ofstream(own() + "/infinstall") << "echo started > '" << report("which") << "'\n";
  chmod((own() + "/infinstall").c_str(), 0755);
  EXPECT_FALSE(startInstaller(kLine, own().c_str(), false, &child));
  EXPECT_EQ(child.pid, 0);
  EXPECT_FALSE(fs::exists(report("which")));
}

TEST_F(StartInstaller, PassesTheLineAfterTheHostWordForWordWithoutAShell) {
  installer(own(),
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

TEST_F(StartInstaller, ChildKeepsNoDescriptorOfOursAndGetsItsOwnSession) {
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
  installer(own(), "{ [ -e /proc/$$/fd/" + std::to_string(leaky) +
                       " ] && echo open || echo closed; cut -d' ' -f6 /proc/$$/stat; } > " + seen +
                       "\nexec grep SigBlk /proc/self/status >> " + seen);
  ChildProcess child;
  const bool started = startInstaller(kLine, own().c_str(), false, &child);
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

void openGateOnThirdCall(void* context) {
  auto* gate = static_cast<Gate*>(context);
  if (++gate->calls == 3) std::ofstream(gate->goFile) << "go";
}

TEST_F(StartInstaller, WaitingServicesEventsUntilTheChildHasEnded) {
  // The child cannot end before the third call has opened its gate, so the calls happen while
  // it runs; it finishes by writing `done`, which must exist when the wait returns.
  Gate gate{report("go")};
  const std::string doneFile = report("done");
  installer(own(), "while [ ! -e '" + gate.goFile + "' ]; do sleep 0.01; done\n"
                   "cut -d' ' -f19 /proc/$$/stat > '" + doneFile + "'\nexit 3");
  ChildProcess child;
  ASSERT_TRUE(startInstaller(kLine, own().c_str(), true, &child));
  waitForChild(&child, openGateOnThirdCall, &gate);
  EXPECT_EQ(child.pid, 0);
  EXPECT_GE(gate.calls, 3);
  ASSERT_TRUE(fs::exists(doneFile));
  // A raised priority is granted to root only; others keep the parent's.
  const int expectedNice = geteuid() == 0 ? -10 : getpriority(PRIO_PROCESS, 0);
  EXPECT_EQ(TempDir::read(doneFile), std::to_string(expectedNice) + "\n");
}

TEST_F(StartInstaller, PlainWaitReturnsOnlyAfterTheEnd) {
  installer(own(), "sleep 0.1; echo done > '" + report("done") + "'");
  ASSERT_TRUE(runToEnd(kLine));
  EXPECT_EQ(TempDir::read(report("done")), "done\n");
}

TEST(SplitArguments, RefusesWhatDoesNotFit) {
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
