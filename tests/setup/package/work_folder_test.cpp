#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "setup/package/work_folder.h"
#include "setup/platform/folders.h"
#include "setup/platform/path_text.h"
#include "tests/setup/support/fake_setup_ui.h"
#include "tests/setup/support/temp_dir.h"

namespace setup {
namespace {

using testing::FakeSetupUi;
using testing::TempDir;

// Sets TMPDIR for one test and puts the old value back.
class ScopedTmpdir {
public:
    explicit ScopedTmpdir(const char* value)
    {
        if (const char* old = getenv("TMPDIR"))
            old_ = old;
        if (value)
            setenv("TMPDIR", value, 1);
        else
            unsetenv("TMPDIR");
    }
    ~ScopedTmpdir()
    {
        if (old_)
            setenv("TMPDIR", old_->c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

private:
    std::optional<std::string> old_;
};

// The work folder chosen with TMPDIR set to `tmpdir`, less the six random characters of the
// run's own folder (made fresh, 0700, and removed again here) it lies in.
std::string chosen(const char* tmpdir)
{
    ScopedTmpdir scoped(tmpdir);
    char folder[kPathSize];
    EXPECT_TRUE(chooseWorkFolder(folder, sizeof folder));
    std::string work = folder;
    const size_t own = work.rfind("/KARVELO-");
    if (own == std::string::npos || work.size() != own + 15 + 13)
        return "unexpected: " + work;
    const std::string ownFolder = work.substr(0, own + 15);
    struct stat info;
    EXPECT_TRUE(lstat(ownFolder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
                (info.st_mode & 07777) == 0700 && info.st_uid == geteuid())
        << ownFolder;
    rmdir(ownFolder.c_str());
    return work.replace(own + 9, 6, "XXXXXX");
}

TEST(ChooseWorkFolder, FollowsTheTemporaryFolderUnlessItCannotServe)
{
    TempDir dir;
    const std::string tmp = dir.file("tmp");
    ASSERT_EQ(mkdir(tmp.c_str(), 0755), 0);
    EXPECT_EQ(chosen(tmp.c_str()), tmp + "/KARVELO-XXXXXX/$Pakorix.Tmp");
    EXPECT_EQ(chosen((tmp + "/").c_str()), tmp + "/KARVELO-XXXXXX/$Pakorix.Tmp");
    EXPECT_EQ(chosen(nullptr), "/tmp/KARVELO-XXXXXX/$Pakorix.Tmp");
    EXPECT_EQ(chosen("relative/tmp"), "/tmp/KARVELO-XXXXXX/$Pakorix.Tmp");
    // A blank, a single-character folder or one that takes no folder: the system folder instead.
    EXPECT_EQ(chosen("/home/Ada Lovelace/tmp"), "/var/tmp/KARVELO-XXXXXX/$Pakorix.Tmp");
    EXPECT_EQ(chosen("/"), "/var/tmp/KARVELO-XXXXXX/$Pakorix.Tmp");
    EXPECT_EQ(chosen(dir.file("missing").c_str()), "/var/tmp/KARVELO-XXXXXX/$Pakorix.Tmp");
}

// ensureWorkFolder with a fresh descriptor, which on success must hold the folder.
bool ensure(const std::string& folder, FakeSetupUi& ui)
{
    int fd = -1;
    const bool made = ensureWorkFolder(folder.c_str(), fd, ui);
    EXPECT_EQ(made, fd >= 0);
    if (fd >= 0) {
        EXPECT_TRUE(namesFolder(folder.c_str(), fd));
        close(fd);
    }
    return made;
}

TEST(EnsureWorkFolder, CreatesAPrivateFolderWithItsParents)
{
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

TEST(EnsureWorkFolder, RefusesWhatSomeoneElseCouldHavePrepared)
{
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

TEST(EnsureWorkFolder, RefusesAFolderOfAnotherUser)
{
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
