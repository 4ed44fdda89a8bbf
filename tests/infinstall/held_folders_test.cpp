// The file system a system-wide installation works through, on real folders: which places it
// refuses and why, where it reads its sources from, and that no step goes through a link.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "infinstall/core/installation.h"
#include "infinstall/core/posix_file_system.h"

namespace infinstall {
namespace {

namespace fs = std::filesystem;
constexpr uid_t kOtherUser = 4242;

class HeldFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root to give folders to another user";
        // Below a folder only root may change, as /opt is.
        root_ = fs::path("/var/tmp") / ("held-folders-" + std::to_string(getpid()));
        fs::create_directory(root_);
        chmod(root_.c_str(), 0755);
    }
    void TearDown() override
    {
        if (!root_.empty())
            fs::remove_all(root_);
    }
    std::string at(const std::string& name) const { return (root_ / name).string(); }
    void folder(const std::string& name, mode_t mode, uid_t owner = 0)
    {
        fs::create_directories(at(name));
        ASSERT_EQ(chmod(at(name).c_str(), mode), 0);
        ASSERT_EQ(chown(at(name).c_str(), owner, 0), 0);
    }
    fs::path root_;
};

TEST_F(HeldFolders, ASystemWideFolderOnlyRootMayChange)
{
    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::string folder;
        std::string problem;  // a part of the reason; empty: taken
    };
    const std::vector<Case> cases = {
        {"missing below root's folder", [] {}, "new/KARVELO", ""},
        {"root's own, existing", [&] { folder("ok", 0755); }, "ok", ""},
        {"below a sticky folder all may write to", [&] { folder("tmp", 01777); }, "tmp/KARVELO", ""},
        {"a parent another user owns", [&] { folder("u", 0755, kOtherUser); }, "u/KARVELO",
         "/u gehört dem Benutzer mit der Nummer 4242, nicht root."},
        {"a parent all may write to", [&] { folder("w", 0777); }, "w/KARVELO",
         "/w darf jeder Benutzer schreiben."},
        {"a parent a group may write to", [&] { folder("g", 0775); }, "g/KARVELO",
         "dürfen die Mitglieder der Gruppe"},
        {"the folder itself another user's",
         [&] {
             folder("tmp2/K", 0755, kOtherUser);
             chmod(at("tmp2").c_str(), 01777);
         },
         "tmp2/K", "/tmp2/K gehört dem Benutzer"},
        {"the folder itself sticky and open to all", [&] { folder("s", 01777); }, "s",
         "/s darf jeder Benutzer schreiben."},
        {"a link to root's folder",
         [&] {
             folder("real", 0755);
             fs::create_directory_symlink(at("real"), at("link"));
         },
         "link/KARVELO", "/link ist eine symbolische Verknüpfung"},
        {"a file on the way", [&] { std::ofstream(at("file")) << "x"; }, "file/KARVELO",
         "/file ist kein Ordner."},
    };
    PosixFileSystem strict(true), own(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.prepare();
        const std::string problem = strict.placeProblem(at(c.folder));
        if (c.problem.empty())
            EXPECT_EQ(problem, "");
        else
            EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
    }
    // Someone installing for themselves may follow their own links.
    EXPECT_EQ(own.placeProblem(at("link/KARVELO")), "");
}

TEST_F(HeldFolders, NoStepGoesThroughALinkOrAFolderOthersMayChange)
{
    folder("inst", 0755);
    folder("elsewhere", 0755);
    std::ofstream(at("elsewhere/kv5")) << "root's own";
    fs::create_directory_symlink(at("elsewhere"), at("inst/sounds"));
    fs::create_symlink(at("elsewhere/kv5"), at("inst/kv5"));
    PosixFileSystem files(true);
    std::string written, error;
    EXPECT_FALSE(files.writeBeside(at("inst/sounds/sound1.wav"), "x", true, 0644, written, error));
    EXPECT_NE(error.find("symbolische Verknüpfung"), std::string::npos) << error;
    EXPECT_FALSE(files.makeFolder(at("inst/sounds/more"), error));
    EXPECT_FALSE(files.removeFile(at("inst/sounds/kv5"), error));
    std::string content;
    EXPECT_FALSE(files.readFile(at("inst/kv5"), content, error));
    EXPECT_EQ(files.kind(at("inst/sounds")), PathKind::Other);
    // A link in the folder itself is replaced, never followed.
    ASSERT_TRUE(files.writeBeside(at("inst/kv5"), "new", true, 0755, written, error)) << error;
    ASSERT_TRUE(files.rename(written, at("inst/kv5"), error)) << error;
    EXPECT_FALSE(fs::is_symlink(at("inst/kv5")));
    // Handed to another user later: nothing more is done below it.
    ASSERT_EQ(chown(at("inst").c_str(), kOtherUser, 0), 0);
    EXPECT_FALSE(files.removeFile(at("inst/kv5"), error));
    EXPECT_NE(error.find("gehört dem Benutzer"), std::string::npos) << error;

    std::ifstream original(at("elsewhere/kv5"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(original), {}), "root's own");
    EXPECT_TRUE(fs::exists(at("inst/kv5")));
}

// A plan carried out on real folders and removed again: folders made and removed, a file copied
// with its mode, a text written, both removed.
TEST_F(HeldFolders, APlanIsCarriedOutAndRemovedOnRealFolders)
{
    folder("src", 0755);
    const std::string big(100000, 'k');
    std::ofstream(at("src/kv5")) << big;
    InstallPlan install;
    install.folders = {at("opt"), at("opt/K")};
    install.copies = {{at("src/kv5"), at("opt/K/kv5"), false, 0755}};
    install.entries = {{at("opt/K.desktop"), "[Desktop Entry]\n"}};
    PosixFileSystem files(true);
    std::string error, content;
    ASSERT_TRUE(carryOut(install, at("registry"), files, nullptr, error)) << error;
    EXPECT_TRUE(files.readFile(at("opt/K/kv5"), content, error)) << error;
    EXPECT_EQ(content, big);
    EXPECT_FALSE(files.readFile(at("opt/K/kv5"), content, error, 1000));
    EXPECT_EQ(fs::status(at("opt/K/kv5")).permissions(), fs::perms(0755));
    EXPECT_EQ(fs::status(at("opt/K.desktop")).permissions(), fs::perms(0644));
    InstallPlan remove;
    remove.removals = {at("opt/K/kv5"), at("opt/K.desktop")};
    remove.emptyFoldersToRemove = {at("opt/K"), at("opt")};
    ASSERT_TRUE(carryOut(remove, at("registry"), files, nullptr, error)) << error;
    EXPECT_FALSE(fs::exists(at("opt")));
    EXPECT_EQ(files.kind(at("opt/K/kv5")), PathKind::Missing);  // its folder is missing, too
}

TEST_F(HeldFolders, SourcesAreReadThroughTheFolderHeldAtTheStart)
{
    folder("work", 0700);
    std::ofstream(at("work/KARV10G1.INF")) << "genuine";
    folder("users", 0755, kOtherUser);
    struct Case {
        const char* what;
        std::string startIn, named;
        std::string content;  // empty: refused
    };
    const std::vector<Case> cases = {
        {"started in the folder the path names", "work", "work", "genuine"},
        {"a path naming another user's folder", "work", "users", ""},
        {"started elsewhere, root's folder by path", "users", "work", "genuine"},
    };
    const fs::path before = fs::current_path();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::current_path(at(c.startIn));
        PosixFileSystem files(true);
        std::string error, content;
        const bool held = files.holdSources(at(c.named), error);
        if (c.content.empty()) {
            EXPECT_FALSE(held);
            EXPECT_NE(error.find("gehört dem Benutzer"), std::string::npos) << error;
        } else {
            ASSERT_TRUE(held) << error;
            EXPECT_TRUE(files.readFile(at(c.named) + "/KARV10G1.INF", content, error)) << error;
            EXPECT_EQ(content, c.content);
        }
    }
    // The work folder swapped for another after it was held: still the genuine one is read.
    fs::current_path(at("work"));
    PosixFileSystem files(true);
    std::string error, content;
    ASSERT_TRUE(files.holdSources(at("work"), error)) << error;
    fs::rename(at("work"), at("old"));
    folder("work", 0700);
    std::ofstream(at("work/KARV10G1.INF")) << "planted";
    ASSERT_TRUE(files.readFile(at("work/KARV10G1.INF"), content, error)) << error;
    EXPECT_EQ(content, "genuine");
    fs::current_path(before);
}

}  // namespace
}  // namespace infinstall
