// Entries that try to write outside the work folder are refused, and nothing lands there.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "package_fixture.h"

namespace setup::testing {
namespace {

class MaliciousNames : public PackageFixture {
 protected:
  void SetUp() override { before = listTree(dir.path()); }

  // Everything in the temporary folder apart from the package and the work folder.
  std::vector<std::string> outsideWorkFolder() const {
    std::vector<std::string> outside;
    for (const std::string& path : listTree(dir.path()))
      if (!path.starts_with("$Pakorix.Tmp") && path != "KARVELO-setup.run") outside.push_back(path);
    return outside;
  }

  std::vector<std::string> before;
};

TEST_F(MaliciousNames, ClimbingOrAbsoluteNamesAreInvalid) {
  const std::string absolute = dir.file("absolute.txt");
  for (const std::string& name : {std::string("../x"), std::string("..\\x"), std::string("a/../../x"),
                                  std::string("a\\..\\..\\x"), std::string(".."),
                                  absolute, std::string("\\") + absolute.substr(1)}) {
    SCOPED_TRACE(name);
    startOver();
    EXPECT_FALSE(extract(packagePlan({storedEntry("ok.txt", "ok"), deflatedEntry(name, "evil"),
                                      storedEntry("after.txt", "after")})));
    EXPECT_EQ(ui.shown(), std::vector<std::string>{"Invalid filename. / Fehler"});
    EXPECT_FALSE(exists(target("after.txt")));
    EXPECT_EQ(outsideWorkFolder(), before);
  }
  EXPECT_FALSE(exists(absolute));
  EXPECT_FALSE(exists(dir.file("x")));
}

TEST_F(MaliciousNames, DotsThatAreNotAComponentAreFine) {
  ASSERT_TRUE(extract(packagePlan({storedEntry("..hidden", "1"), storedEntry("a../b..c", "2"),
                                   storedEntry("...", "3")})));
  EXPECT_EQ(contentOf("..hidden"), "1");
  EXPECT_EQ(contentOf("a../b..c"), "2");
  EXPECT_EQ(contentOf("..."), "3");
}

TEST_F(MaliciousNames, LinkedWorkFolderIsRefused) {
  const std::string elsewhere = dir.file("elsewhere");
  ASSERT_EQ(mkdir(elsewhere.c_str(), 0700), 0);
  ASSERT_EQ(symlink(elsewhere.c_str(), workFolder.c_str()), 0);
  EXPECT_FALSE(extract(packagePlan({storedEntry("kv5", "game"), storedEntry("sounds/s.wav", "s")})));
  EXPECT_EQ(ui.shown(), std::vector<std::string>{workFolder + " / Error in directory .."});
  EXPECT_TRUE(listTree(elsewhere).empty());
}

TEST_F(MaliciousNames, LinkedSubFolderIsNotFollowed) {
  const std::string elsewhere = dir.file("elsewhere");
  ASSERT_EQ(mkdir(elsewhere.c_str(), 0700), 0);
  ASSERT_EQ(mkdir(workFolder.c_str(), 0700), 0);
  ASSERT_EQ(symlink(elsewhere.c_str(), target("sounds").c_str()), 0);
  EXPECT_FALSE(extract(packagePlan({storedEntry("sounds/sound1.wav", "s")})));
  EXPECT_EQ(ui.shown(), std::vector<std::string>{target("sounds") + " / Error in directory .."});
  EXPECT_TRUE(listTree(elsewhere).empty());
}

// Someone who may write where the work folder lies swaps it, or a folder inside it, for a link
// while the files are unpacked: nothing is written, and nothing deleted, where the link points.
TEST_F(MaliciousNames, FolderSwappedForALinkBetweenTwoEntriesLeadsNowhere) {
  struct Case {
    const char* what;
    int afterEvent;        // the swap happens while this entry's event is let through
    std::string swapped;   // the folder whose name becomes a link
    bool unpacked;         // the extraction still succeeds
  };
  const Case cases[] = {
      {"the work folder", 1, workFolder, true},
      {"a sub-folder", 2, workFolder + "/sounds", false},
  };
  const std::vector<std::string> decoys = {"a.txt", "b.txt", "s1.wav", "s2.wav"};
  const std::string elsewhere = dir.file("elsewhere");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    startOver();
    std::filesystem::remove_all(elsewhere);
    std::filesystem::remove_all(workFolder);
    std::filesystem::remove_all(workFolder + ".moved");
    for (const std::string& name : decoys) dir.write("elsewhere/" + name, "decoy");
    ui.onEvent = [&](int event) {
      if (event != c.afterEvent) return;
      ASSERT_EQ(rename(c.swapped.c_str(), (c.swapped + ".moved").c_str()), 0);
      ASSERT_EQ(symlink(elsewhere.c_str(), c.swapped.c_str()), 0);
    };
    EXPECT_EQ(extract(packagePlan({storedEntry("a.txt", "a"), storedEntry("sounds/s1.wav", "1"),
                                   storedEntry("sounds/s2.wav", "2"), storedEntry("b.txt", "b")})),
              c.unpacked);
    if (c.unpacked) {
      EXPECT_TRUE(ui.messages.empty());
      EXPECT_EQ(listTree(workFolder + ".moved"),
                (std::vector<std::string>{"a.txt", "b.txt", "sounds", "sounds/s1.wav",
                                          "sounds/s2.wav"}));
    } else {
      EXPECT_EQ(ui.shown(), std::vector<std::string>{c.swapped + " / Error in directory .."});
    }
    deleteExtractedFiles(state, workFolder.c_str(), ui);
    removeCreatedFolders(state);
    EXPECT_EQ(listTree(elsewhere), decoys);
    for (const std::string& name : decoys) EXPECT_EQ(TempDir::read(elsewhere + "/" + name), "decoy");
  }
}

TEST_F(MaliciousNames, WorkFolderThatIsAFileIsRefused) {
  dir.write("$Pakorix.Tmp", "not a folder");
  EXPECT_FALSE(extract(packagePlan({storedEntry("kv5", "game")})));
  EXPECT_EQ(ui.shown(), std::vector<std::string>{workFolder + " / Error in directory .."});
  EXPECT_EQ(TempDir::read(workFolder), "not a folder");
}

}  // namespace
}  // namespace setup::testing
