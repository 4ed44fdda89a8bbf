#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "setup/platform/files.h"
#include "setup/platform/folders.h"
#include "setup/platform/path_text.h"
#include "setup/platform/system_paths.h"
#include "tests/setup/support/temp_dir.h"

namespace setup {
namespace {

using testing::TempDir;

TEST(PathText, NeverOverrunsTheBufferAndSaysSo)
{
    char out[8];
    EXPECT_TRUE(copyText(out, sizeof out, "abc"));
    EXPECT_TRUE(appendText(out, sizeof out, "defg"));
    EXPECT_STREQ(out, "abcdefg");
    EXPECT_FALSE(appendText(out, sizeof out, "h"));
    EXPECT_STREQ(out, "abcdefg");
    EXPECT_FALSE(copyText(out, sizeof out, "123456789"));
    EXPECT_STREQ(out, "1234567");
    EXPECT_TRUE(copyText(out, sizeof out, "v"));
    EXPECT_TRUE(appendNumber(out, sizeof out, 7, 3));
    EXPECT_TRUE(appendNumber(out, sizeof out, 0, 1));
    EXPECT_STREQ(out, "v0070");
}

TEST(SystemPaths, OwnPathAndFixedFolders)
{
    char path[kPathSize];
    ASSERT_TRUE(ownExecutablePath(path, sizeof path));
    EXPECT_EQ(std::filesystem::path(path).filename(), "test_setup_platform");
    char tiny[4];
    EXPECT_FALSE(ownExecutablePath(tiny, sizeof tiny));
    ASSERT_TRUE(systemFolder(path, sizeof path));
    EXPECT_STREQ(path, "/var/tmp/");
}

TEST(Files, ReadsNeverPastTheEnd)
{
    TempDir dir;
    const int fd = openExistingForReading(dir.write("f", "0123456789").c_str());
    ASSERT_GE(fd, 0);
    EXPECT_EQ(fileSize(fd), 10);
    char buffer[8] = {};
    EXPECT_TRUE(readAt(fd, 6, buffer, 4));
    EXPECT_STREQ(buffer, "6789");
    EXPECT_FALSE(readAt(fd, 7, buffer, 4));
    EXPECT_FALSE(readAt(fd, -1, buffer, 1));
    ASSERT_TRUE(seekTo(fd, 8));
    EXPECT_EQ(readFully(fd, buffer, sizeof buffer), 2u);
    EXPECT_EQ(readSome(fd, buffer, sizeof buffer), 0);
    EXPECT_FALSE(seekTo(fd, -4));
    EXPECT_TRUE(closeFile(fd));
    EXPECT_EQ(openExistingForReading(dir.file("missing").c_str()), -1);
}

TEST(Folders, ParentsMayBeLinksButKindsAreTakenLiterally)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("real"));
    std::filesystem::create_directory_symlink(dir.file("real"), dir.file("link"));
    ASSERT_TRUE(createFolderWithParents(dir.file("link/a/b").c_str(), 0700));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("real/a/b")));
    EXPECT_TRUE(createFolderWithParents(dir.file("link/a/b").c_str(), 0700));  // already there
    EXPECT_EQ(pathKind(dir.file("link").c_str()), PathKind::Other);
    EXPECT_EQ(pathKind(dir.file("real").c_str()), PathKind::Folder);
    EXPECT_EQ(pathKind(dir.write("file", "x").c_str()), PathKind::File);
    EXPECT_EQ(pathKind(dir.file("none").c_str()), PathKind::Missing);
    EXPECT_FALSE(createFolderWithParents(dir.file("file/sub").c_str(), 0700));
    EXPECT_EQ(openFolder(dir.file("link").c_str()), -1);
    EXPECT_EQ(openFolder(dir.file("file").c_str()), -1);
    EXPECT_TRUE(removeFolder(dir.file("real/a/b").c_str()));
    EXPECT_FALSE(removeFolder(dir.file("real").c_str()));  // not empty
}

// Below an open folder nothing goes through a link, whatever it points at.
TEST(Folders, BelowAnOpenFolderNoLinkIsFollowed)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("held"));
    std::filesystem::create_directory(dir.file("elsewhere"));
    const int held = openFolder(dir.file("held").c_str());
    ASSERT_GE(held, 0);
    ASSERT_TRUE(claimFolder(held));
    ASSERT_EQ(symlink(dir.file("elsewhere").c_str(), dir.file("held/linked").c_str()), 0);
    ASSERT_EQ(symlink(dir.file("elsewhere/f").c_str(), dir.file("held/f").c_str()), 0);
    // The name now stands for another folder; the descriptor still holds the first.
    std::filesystem::rename(dir.file("held"), dir.file("moved"));
    std::filesystem::create_directory(dir.file("held"));
    EXPECT_FALSE(namesFolder(dir.file("held").c_str(), held));
    EXPECT_TRUE(namesFolder(dir.file("moved").c_str(), held));

    bool created = true;
    EXPECT_EQ(openFolderIn(held, "linked", &created), -1);
    EXPECT_FALSE(created);
    EXPECT_EQ(createFileIn(held, "f"), -1);
    EXPECT_EQ(openFileIn(held, "f"), -1);
    const int sub = openFolderIn(held, "sub", &created);
    ASSERT_GE(sub, 0);
    EXPECT_TRUE(created);
    const int file = createFileIn(sub, "new");
    ASSERT_GE(file, 0);
    close(file);
    close(sub);
    EXPECT_TRUE(std::filesystem::exists(dir.file("moved/sub/new")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("held/sub")));
    EXPECT_FALSE(removeIn(held, "sub", true));  // not empty
    EXPECT_TRUE(removeIn(held, "sub/new", false));
    EXPECT_TRUE(removeIn(held, "sub", true));
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("elsewhere")));
    struct stat info;
    ASSERT_EQ(stat(dir.file("moved").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    close(held);
}

}  // namespace
}  // namespace setup
