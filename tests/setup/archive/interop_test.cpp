// Archives written by Info-ZIP's zip, put behind a package header without the trailer: the
// zip's own end record must satisfy the completeness check, and every file must come out
// byte for byte with its time.

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <optional>
#include <random>

#include "tools/mkpackage/file_io.h"
#include "tests/setup/archive/package_fixture.h"
#include "setup/package/completeness.h"
#include "setup/platform/files.h"

namespace setup::testing {
namespace {

struct SourceFile {
    std::string name;
    std::string content;
    std::string time;  // for touch -d, local time, even seconds (MS-DOS resolution)
};

std::string randomBytes(std::size_t n, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(n, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

std::vector<SourceFile> sourceFiles()
{
    return {
        {"readme.txt", "KARVELO\r\nLiesmich\r\n", "2021-03-04 05:06:08"},
        {"empty.dat", "", "2020-01-02 03:04:06"},
        {"kv5", randomBytes(150000, 5), "2022-08-09 10:11:12"},
        {"sounds/sound1.wav", randomBytes(9000, 1), "2019-11-30 23:59:58"},
        {"doc/de/liesmich.txt", compressibleText(1500000), "2024-06-30 12:00:00"},
    };
}

int run(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class ZipInterop : public PackageFixture {
protected:
    void SetUp() override
    {
        if (run("command -v zip >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "Info-ZIP zip is not installed";
        for (const SourceFile& file : sourceFiles()) {
            const std::string path = dir.write("src/" + file.name, file.content);
            ASSERT_EQ(run("touch -d '" + file.time + "' '" + path + "'"), 0);
        }
    }

    // Zips the source folder with `options` and returns the archive's bytes.
    mkpackage::Bytes zipSources(const std::string& options)
    {
        const std::string zip = dir.file("made.zip");
        std::remove(zip.c_str());
        EXPECT_EQ(run("cd '" + dir.file("src") + "' && zip -X -q -r " + options + " '" + zip + "' ."), 0);
        return mkpackage::readFile(zip);
    }

    void openBehindHeader(const mkpackage::Bytes& zip)
    {
        mkpackage::PackagePlan plan = packagePlan();
        plan.rawArchive = zip;
        plan.tail.clear();
        open(plan);
    }

    void expectSourcesExtracted()
    {
        for (const SourceFile& file : sourceFiles()) {
            SCOPED_TRACE(file.name);
            EXPECT_TRUE(contentOf(file.name) == file.content);
            struct stat extracted {
            }, source{};
            ASSERT_EQ(stat(target(file.name).c_str(), &extracted), 0);
            ASSERT_EQ(stat(dir.file("src/" + file.name).c_str(), &source), 0);
            EXPECT_EQ(extracted.st_mtime, source.st_mtime);
        }
    }
};

// Every file arrives with its time; the zip's end record alone satisfies the completeness check.
TEST_F(ZipInterop, ArchivesOfEveryKindExtract)
{
    struct Case {
        std::string options;
        std::deque<std::optional<std::string>> answers;
        int prompts;
    };
    const Case cases[] = {
        {"-D", {}, 0},
        {"-0", {}, 0},                    // stored only, with folder entries "sounds/", "doc/", "doc/de/"
        {"-D -P secret", {"secret"}, 1},  // encrypted, with data descriptors: asked once
        // zip keys with the bytes it is given: "Größe" in Windows-1252, as the package's texts.
        // Typed in UTF-8; the tick has no place in the code page, which makes that answer wrong.
        {"-D -P \"$(printf 'Gr\\366\\337e')\"", {"Gr\u00f6\u00dfe\u2713", "Gr\u00f6\u00dfe"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        startOver();
        std::filesystem::remove_all(workFolder);
        openBehindHeader(zipSources(c.options));
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_TRUE(checkPackageComplete(fd, settings, ui));
        ui.passwords = c.answers;
        ASSERT_TRUE(extract()) << ::testing::PrintToString(ui.shown());
        expectSourcesExtracted();
        EXPECT_EQ(extractedFiles().size(), sourceFiles().size());
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(ui.passwordPrompts, c.prompts);
    }
}

TEST_F(ZipInterop, EncryptedArchiveRefusesTheWrongPassword)
{
    openBehindHeader(zipSources("-D -P secret"));
    ASSERT_FALSE(HasFatalFailure());
    // zip draws its encryption headers at random, and the one-byte check lets about one wrong
    // password in 256 through; the CRC then has to catch it. Either way nothing may arrive.
    ui.passwords = {"Secret", "secret!", "SECRET"};  // then the exhausted script cancels
    EXPECT_FALSE(extract());
    for (const SourceFile& file : sourceFiles()) {
        if (!file.content.empty()) {
            EXPECT_FALSE(exists(target(file.name)) && contentOf(file.name) == file.content) << file.name;
        }
    }
}

TEST_F(ZipInterop, CommentedEndRecordPassesAndTheSameFileCutShortFails)
{
    mkpackage::Bytes zip = zipSources("-D");
    const std::string path = dir.write("made.zip", std::string(zip.begin(), zip.end()));
    ASSERT_EQ(run("echo 'KARVELO 1.01' | zip -q -z '" + path + "'"), 0);
    zip = mkpackage::readFile(path);
    openBehindHeader(zip);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(checkPackageComplete(fd, settings, ui));
    EXPECT_TRUE(ui.messages.empty());

    startOver();
    zip.pop_back();
    openBehindHeader(zip);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_FALSE(checkPackageComplete(fd, settings, ui));
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(ZipInterop, PackageMadeByTheCommandLineTool)
{
    const mkpackage::Bytes zip = zipSources("-D -9");
    dir.write("made.zip", std::string(zip.begin(), zip.end()));
    dir.write("image", "\x7f"
                       "ELF");
    const std::string command = std::string("'") + MKPACKAGE_PATH + "' --image '" + dir.file("image") +
                                "' --out '" + packagePath + "' --product KARVELO --inf KARV10G1.INF" +
                                " --notice 'Hinweis' --no-trailer --append-archive '" + dir.file("made.zip") +
                                "' >/dev/null";
    ASSERT_EQ(run(command), 0);
    fd = openExistingForReading(packagePath.c_str());
    ASSERT_TRUE(readFixedHeader(fd, settings));
    ASSERT_TRUE(readVariableHeader(fd, settings));
    ASSERT_TRUE(checkPackageComplete(fd, settings, ui));
    ASSERT_TRUE(extract()) << ::testing::PrintToString(ui.shown());
    expectSourcesExtracted();
}

}  // namespace
}  // namespace setup::testing
