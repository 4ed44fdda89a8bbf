#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "setup/package/work_folder.h"
#include "setup/platform/folders.h"
#include "setup/platform/path_text.h"
#include "setup/support/fake_setup_ui.h"
#include "setup/support/temp_dir.h"

namespace setup {
namespace {

using testing::FakeSetupUi;
using testing::TempDir;

// Sets TMPDIR for one test and puts the old value back.
class ScopedTmpdir {
public:
  explicit ScopedTmpdir(const char* value) {
    if (const char* old = getenv("TMPDIR")) old_ = old;
    if (value) setenv("TMPDIR", value, 1);
    else unsetenv("TMPDIR");
  }
  ~ScopedTmpdir() {
    if (old_) setenv("TMPDIR", old_->c_str(), 1);
    else unsetenv("TMPDIR");
  }

private:
  std::optional<std::string> old_;
};

std::string chosen(const char* tmpdir) {
  ScopedTmpdir scoped(tmpdir);
  char folder[kPathSize];
  EXPECT_TRUE(chooseWorkFolder(folder, sizeof folder));
  return folder;
}

TEST(ChooseWorkFolder, FollowsTheTemporaryFolderUnlessItCannotServe) {
  EXPECT_EQ(chosen("/home/ada/tmp"), "/home/ada/tmp/$Pakorix.Tmp");
  EXPECT_EQ(chosen("/home/ada/tmp/"), "/home/ada/tmp/$Pakorix.Tmp");
  EXPECT_EQ(chosen(nullptr), "/tmp/$Pakorix.Tmp");
  EXPECT_EQ(chosen("relative/tmp"), "/tmp/$Pakorix.Tmp");
  // A blank, or a single-character folder: the system folder instead.
  EXPECT_EQ(chosen("/home/Ada Lovelace/tmp"), "/var/tmp/$Pakorix.Tmp");
  EXPECT_EQ(chosen("/"), "/var/tmp/$Pakorix.Tmp");
}

// ensureWorkFolder with a fresh descriptor, which on success must hold the folder.
bool ensure(const std::string& folder, FakeSetupUi& ui) {
  int fd = -1;
  const bool made = ensureWorkFolder(folder.c_str(), fd, ui);
  EXPECT_EQ(made, fd >= 0);
  if (fd >= 0) {
    EXPECT_TRUE(namesFolder(folder.c_str(), fd));
    close(fd);
  }
  return made;
}

TEST(EnsureWorkFolder, CreatesAPrivateFolderWithItsParents) {
  TempDir dir;
  FakeSetupUi ui;
  const std::string folder = dir.file("a/b/$Pakorix.Tmp");
  ASSERT_TRUE(ensure(folder, ui));
  struct stat info;
  ASSERT_EQ(lstat(folder.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  // An existing folder of our own is used again, made private once more.
  ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
  EXPECT_TRUE(ensure(folder, ui));
  EXPECT_TRUE(ui.messages.empty());
  ASSERT_EQ(lstat(folder.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(EnsureWorkFolder, RefusesWhatSomeoneElseCouldHavePrepared) {
  TempDir dir;
  const std::string link = dir.file("$Pakorix.Tmp");
  std::filesystem::create_directory(dir.file("target"));
  std::filesystem::create_directory_symlink(dir.file("target"), link);
  const std::string file = dir.write("file/$Pakorix.Tmp", "x");

  for (const std::string& folder : {link, file}) {
    FakeSetupUi ui;
    EXPECT_FALSE(ensure(folder, ui)) << folder;
    ASSERT_EQ(ui.shown(), std::vector<std::string>{folder + " / Error in directory .."});
    EXPECT_EQ(ui.messages[0].icon, Icon::Stop);
  }
}

TEST(EnsureWorkFolder, RefusesAFolderOfAnotherUser) {
  TempDir dir;
  std::string foreign = "/";  // root's, when we are not root
  if (geteuid() == 0) {
    foreign = dir.file("$Pakorix.Tmp");
    std::filesystem::create_directory(foreign);
    ASSERT_EQ(chown(foreign.c_str(), 65534, 65534), 0);
  }
  FakeSetupUi ui;
  EXPECT_FALSE(ensure(foreign, ui));
  EXPECT_EQ(ui.shown(), std::vector<std::string>{foreign + " / Error in directory .."});
}

}  // namespace
}  // namespace setup
