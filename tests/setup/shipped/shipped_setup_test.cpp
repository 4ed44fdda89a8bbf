#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "setup/archive/extract.h"
#include "setup/package/completeness.h"
#include "setup/package/package_header.h"
#include "tests/setup/support/fake_setup_ui.h"
#include "tests/setup/support/temp_dir.h"

namespace setup {
namespace {

using testing::FakeSetupUi;
using testing::TempDir;

constexpr long long kArchiveStart = 35398;

// Archive name and the file that went into the package under it, in package order.
struct ShippedFile {
    std::string name;
    std::string source;
};

std::vector<ShippedFile> shippedFiles()
{
    const std::string stage = KV_STAGE_DIR;
    const std::string packaging = KV_PACKAGING_DIR;
    const std::string texts = KV_SHIPPING_SOURCE_DIR;
    std::vector<ShippedFile> files = {{"kv5", packaging + "/kv5"},
                                      {"libkv5-sound.so", packaging + "/libkv5-sound.so"},
                                      {"infinstall", packaging + "/infinstall"},
                                      {"karvelo.png", stage + "/karvelo.png"},
                                      {"P1.dat", packaging + "/P1.dat"}};
    for (int n = 1; n <= 7; ++n) {
        const std::string sound = "sounds/sound" + std::to_string(n) + ".wav";
        files.push_back({sound, stage + "/" + sound});
    }
    files.push_back({"LIESMICH.TXT", texts + "/LIESMICH.TXT"});
    files.push_back({"README.TXT", texts + "/README.TXT"});
    files.push_back({"KARV10G1.INF", packaging + "/KARV10G1.INF"});
    return files;
}

uint32_t le32(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

class ShippedSetup : public ::testing::Test {
protected:
    void SetUp() override
    {
        file_ = TempDir::read(KV_SETUP_FILE);
        ASSERT_GT(file_.size(), static_cast<size_t>(kArchiveStart)) << KV_SETUP_FILE;
        fd_ = open(KV_SETUP_FILE, O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd_, 0);
        std::memset(&settings_, 0, sizeof settings_);
        ASSERT_TRUE(readFixedHeader(fd_, settings_));
        ASSERT_TRUE(readVariableHeader(fd_, settings_));
    }
    void TearDown() override
    {
        releasePackageSettings(settings_);
        if (fd_ >= 0)
            close(fd_);
    }

    std::string file_;
    int fd_ = -1;
    PackageSettings settings_;
};

TEST_F(ShippedSetup, IsAProgramWhoseImageIsTheSetupPaddedToTheHeader)
{
    EXPECT_EQ(access(KV_SETUP_FILE, X_OK), 0);
    const std::string program = TempDir::read(KV_SETUP_PROGRAM);
    ASSERT_LE(program.size(), static_cast<size_t>(kHeaderOffset));
    EXPECT_EQ(file_.compare(0, program.size(), program), 0);
    EXPECT_EQ(file_.substr(kHeaderOffset, 3), "MRI");
}

TEST_F(ShippedSetup, HeaderCarriesTheShippedSettings)
{
    const PackageHeader& header = settings_.header;
    EXPECT_EQ(header.keepWindowOpen, 0);
    EXPECT_EQ(header.adminOnly, 1);
    EXPECT_EQ(header.hideInfoButton, 1);
    EXPECT_EQ(header.multiVolume, 0);
    EXPECT_EQ(header.advancedInf, 1);
    EXPECT_EQ(header.welcomeTextLength, 0);
    EXPECT_EQ(header.licenceTextLength, 0);
    EXPECT_EQ(header.totalSize, file_.size());
    EXPECT_STREQ(settings_.productName, "KARVELO");
    EXPECT_STREQ(settings_.infName, "KARV10G1.INF");
    EXPECT_EQ(header.noticeLength, 28);
    EXPECT_STREQ(settings_.notice, KV_SETUP_NOTICE);
    EXPECT_STREQ(settings_.welcomeText, kDefaultWelcomeText);
    EXPECT_STREQ(settings_.licenceText, "");
}

TEST_F(ShippedSetup, ArchiveStartsWhereTheHeaderLengthsSayAndNoSignatureComesEarlier)
{
    // The lengths as stored, added up independently of the reader.
    const auto byteAt = [&](long long offset) {
        return static_cast<long long>(static_cast<unsigned char>(file_[offset]));
    };
    const long long computed = kVariablePartOffset + byteAt(kHeaderOffset + 4) + byteAt(kHeaderOffset + 5) +
                               byteAt(kHeaderOffset + 7) + le32(file_, kHeaderOffset + 8) +
                               le32(file_, kHeaderOffset + 12);
    EXPECT_EQ(computed, kArchiveStart);
    EXPECT_EQ(settings_.archiveStart, kArchiveStart);
    EXPECT_EQ(file_.find("PK\x03\x04"), static_cast<size_t>(kArchiveStart));
    EXPECT_EQ(file_.substr(0, kHeaderOffset).find("PK\x05\x06"), std::string::npos);
    EXPECT_EQ(file_.substr(file_.size() - 4), "RSFX");

    FakeSetupUi ui;
    EXPECT_TRUE(checkPackageComplete(fd_, settings_, ui));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ShippedSetup, UnpacksEveryStagedFileByteForByte)
{
    TempDir temp;
    const std::string workFolder = temp.file("$Pakorix.Tmp");
    FakeSetupUi ui;
    ExtractionState state{};
    ASSERT_TRUE(extractArchive(fd_, settings_, workFolder.c_str(), ui, state));
    EXPECT_TRUE(ui.messages.empty());

    const std::vector<ShippedFile> expected = shippedFiles();
    std::vector<std::string> names;
    for (unsigned i = 0; i < state.extractedFiles.count; ++i) {
        const std::string path = state.extractedFiles.items[i];
        ASSERT_EQ(path.rfind(workFolder + "/", 0), 0u) << path;
        names.push_back(path.substr(workFolder.size() + 1));
    }
    std::vector<std::string> expectedNames;
    for (const ShippedFile& file : expected)
        expectedNames.push_back(file.name);
    EXPECT_EQ(names, expectedNames);

    for (const ShippedFile& file : expected) {
        SCOPED_TRACE(file.name);
        const std::string original = TempDir::read(file.source);
        EXPECT_FALSE(original.empty());
        EXPECT_TRUE(TempDir::read(workFolder + "/" + file.name) == original);
    }
    releaseExtractionState(state);
}

TEST(ShippedInstallationScript, IsWindows1252WithCrLfLineEnds)
{
    const std::string inf = TempDir::read(std::string(KV_PACKAGING_DIR) + "/KARV10G1.INF");
    ASSERT_EQ(inf.rfind("; KARV10G1.INF", 0), 0u);
    EXPECT_NE(inf.find("AdvancedINF=2.5,\"You need a newer version of AdvPack.DLL!\"\r\n"),
              std::string::npos);
    // "möchten" and "überschrieben" in single bytes, not UTF-8 pairs.
    EXPECT_NE(inf.find("m\xF6"
                       "chten Sie KARVELO installieren ?"),
              std::string::npos);
    EXPECT_NE(inf.find("\xFC"
                       "berschrieben!"),
              std::string::npos);
    EXPECT_EQ(inf.find("\xC3"), std::string::npos);
    size_t bareLineFeeds = 0;
    for (size_t i = 0; i < inf.size(); ++i)
        if (inf[i] == '\n' && (i == 0 || inf[i - 1] != '\r'))
            ++bareLineFeeds;
    EXPECT_EQ(bareLineFeeds, 0u);
}

}  // namespace
}  // namespace setup
