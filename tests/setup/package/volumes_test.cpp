#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "setup/package/package_header.h"
#include "setup/package/volumes.h"
#include "setup/platform/path_text.h"
#include "tests/setup/support/fake_setup_ui.h"
#include "tests/setup/support/temp_dir.h"

namespace setup {
namespace {

using testing::FakeSetupUi;
using testing::TempDir;

const std::string kJoinFailed = "Setup-Archiv konnte nicht erfolgreich erstellt werden. / Fehler";

TEST(VolumePath, ReplacesTheLastThreeCharactersByThePaddedNumber)
{
    char path[kPathSize];
    ASSERT_TRUE(volumePath(path, sizeof path, "/media/KARVELO-setup.run", 0));
    EXPECT_STREQ(path, "/media/KARVELO-setup.run");
    ASSERT_TRUE(volumePath(path, sizeof path, "/media/KARVELO-setup.run", 1));
    EXPECT_STREQ(path, "/media/KARVELO-setup.001");
    ASSERT_TRUE(volumePath(path, sizeof path, "/a/SETUP.EXE", 42));
    EXPECT_STREQ(path, "/a/SETUP.042");
    ASSERT_TRUE(volumePath(path, sizeof path, "/a/SETUP.EXE", 1234));
    EXPECT_STREQ(path, "/a/SETUP.1234");
    ASSERT_TRUE(joinedFilePath(path, sizeof path, "/tmp/$Pakorix.Tmp"));
    EXPECT_STREQ(path, "/tmp/$Pakorix.Tmp/Pakorix.pkg");
}

class JoinVolumesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        own_ = dir_.write("media/KARVELO-setup.run", "volume zero|");
        dir_.write("media/KARVELO-setup.001", "volume one|");
        dir_.write("media/KARVELO-setup.002", std::string(70000, '2'));  // several chunks
        whole_ = "volume zero|volume one|" + std::string(70000, '2');
        settings_.header.totalSize = static_cast<uint32_t>(whole_.size());
        copyText(settings_.productName, sizeof settings_.productName, "KARVELO");
        workFolder_ = dir_.file("work/$Pakorix.Tmp");
        ownFile_ = open(own_.c_str(), O_RDONLY);
    }
    void TearDown() override
    {
        close(ownFile_);
        if (workFolderFd_ >= 0)
            close(workFolderFd_);
    }
    int join()
    {
        return joinVolumes(settings_, ownFile_, own_.c_str(), workFolder_.c_str(), workFolderFd_, ui_);
    }
    std::string joined() const { return TempDir::read(workFolder_ + "/Pakorix.pkg"); }

    TempDir dir_;
    FakeSetupUi ui_;
    PackageSettings settings_{};
    std::string own_;
    std::string workFolder_;
    std::string whole_;
    int ownFile_ = -1;  // the setup's own file as it was started
    int workFolderFd_ = -1;
};

TEST_F(JoinVolumesTest, JoinsAllVolumesIntoAFreshFileOpenForReading)
{
    // A longer leftover from an earlier run must not survive behind the data.
    dir_.write("work/$Pakorix.Tmp/Pakorix.pkg", std::string(100000, 'o'));
    // Volume 0 comes from the file the setup was started from, not from what its path names now.
    std::filesystem::rename(dir_.write("replacement", "another file"), own_);
    const int fd = join();
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_EQ(joined(), whole_);
    char first[6] = {};
    EXPECT_EQ(read(fd, first, 5), 5);
    EXPECT_STREQ(first, "volum");
    close(fd);
}

TEST_F(JoinVolumesTest, AsksForAMissingVolumeUntilItIsThere)
{
    std::filesystem::rename(dir_.file("media/KARVELO-setup.002"), dir_.file("elsewhere"));
    int asked = 0;
    ui_.onMessage = [&](const testing::ShownMessage&) {
        // The first OK finds the drive still empty; the disk arrives before the second.
        if (++asked == 2)
            std::filesystem::rename(dir_.file("elsewhere"), dir_.file("media/KARVELO-setup.002"));
    };
    const int fd = join();
    ASSERT_GE(fd, 0);
    close(fd);
    ASSERT_EQ(ui_.messages.size(), 2u);
    EXPECT_EQ(ui_.messages[0].text, "Setup benötigt die Diskette Nr.3..");
    EXPECT_EQ(ui_.messages[0].caption, "KARVELO");
    EXPECT_EQ(ui_.messages[0].icon, Icon::Information);
    EXPECT_EQ(ui_.messages[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(joined(), whole_);
}

TEST_F(JoinVolumesTest, CancelFailsTheJoining)
{
    std::filesystem::remove(dir_.file("media/KARVELO-setup.001"));
    ui_.answers = {Answer::Cancel};
    EXPECT_EQ(join(), -1);
    EXPECT_EQ(ui_.shown(),
              (std::vector<std::string>{"Setup benötigt die Diskette Nr.2.. / KARVELO", kJoinFailed}));
    EXPECT_EQ(ui_.messages[1].icon, Icon::Stop);
}

TEST_F(JoinVolumesTest, AVolumeThatCannotBeReadFailsTheJoining)
{
    std::filesystem::remove(dir_.file("media/KARVELO-setup.001"));
    std::filesystem::create_directory(dir_.file("media/KARVELO-setup.001"));
    EXPECT_EQ(join(), -1);
    EXPECT_EQ(ui_.shown(), std::vector<std::string>{kJoinFailed});
}

TEST_F(JoinVolumesTest, StopsOnceTheTotalSizeIsReached)
{
    settings_.header.totalSize = 12;  // volume 0 alone
    std::filesystem::remove(dir_.file("media/KARVELO-setup.001"));
    const int fd = join();
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_EQ(joined(), "volume zero|");
}

TEST_F(JoinVolumesTest, ARefusedWorkFolderFailsTheJoining)
{
    dir_.write("work/$Pakorix.Tmp", "a file, not a folder");
    EXPECT_EQ(join(), -1);
    EXPECT_EQ(ui_.shown(), (std::vector<std::string>{workFolder_ + " / Error in directory ..", kJoinFailed}));
}

}  // namespace
}  // namespace setup
