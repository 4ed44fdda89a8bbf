// The start-up: where the work folder goes, which failures end the run before the window
// opens, and what the end of such a run leaves behind.
#include <stdlib.h>
#include <unistd.h>

#include "driver_fixture.h"
#include "setup/driver/end_of_run.h"
#include "setup/driver/start_up.h"
#include "setup/driver/window_commands.h"
#include "volumes.h"

namespace setup::testing {
namespace {

using StartUp = DriverFixture;

constexpr const char* kIncomplete =
    "stop Dateigröße inkorrekt - bitte versuchen Sie, dieses Programm nochmals downzuloaden. / "
    "Fehler";

TEST_F(StartUp, CompletePackageOpensTheWindowWithTheHeaderRead) {
  ASSERT_TRUE(prepare(shippedLikePlan()));
  EXPECT_TRUE(window.log.empty());
  EXPECT_EQ(run.workFolder, workFolder);
  EXPECT_EQ(std::string(run.systemFolder), "/var/tmp/");
  EXPECT_EQ(run.savedFolder, startFolder);
  EXPECT_GE(run.packageFd, 0);
  EXPECT_STREQ(run.settings.infName, "KARV10G1.INF");
  EXPECT_STREQ(mainWindowTitle(run), "KARVELO");
  // The work folder is only made when something is unpacked into it.
  EXPECT_FALSE(exists(workFolder));
  EXPECT_EQ(finish(), 0);
  EXPECT_EQ(run.packageFd, -1);
}

TEST_F(StartUp, TemporaryFolderWithABlankOrOfOneCharacterGivesWayToTheSystemFolder) {
  const std::string blank = dir.file("mit Leerzeichen");
  setenv("TMPDIR", blank.c_str(), 1);
  ASSERT_TRUE(prepare(shippedLikePlan()));
  EXPECT_STREQ(run.workFolder, "/var/tmp/$Pakorix.Tmp");
  finish();

  SetupRun root;
  initSetupRun(root);
  root.system = system.calls();
  setenv("TMPDIR", "/", 1);
  ASSERT_TRUE(prepareSetup(root, ownPath.c_str(), window));
  EXPECT_STREQ(root.workFolder, "/var/tmp/$Pakorix.Tmp");
  finishSetup(root, window);
}

TEST_F(StartUp, TemporaryFolderTooLongForTheWorkFolderGivesWayToTheSystemFolder) {
  const std::string longFolder = "/" + std::string(250, 'x');
  setenv("TMPDIR", longFolder.c_str(), 1);
  ASSERT_TRUE(prepare(shippedLikePlan()));
  EXPECT_STREQ(run.workFolder, "/var/tmp/$Pakorix.Tmp");
}

TEST_F(StartUp, OwnFileThatCannotBeOpenedIsReportedByItsPath) {
  const std::string missing = dir.file("weg.run");
  EXPECT_FALSE(prepareSetup(run, missing.c_str(), window));
  EXPECT_EQ(window.log, std::vector<std::string>{"stop " + missing + " / Kann Datei nicht öffnen .."});
  EXPECT_EQ(finish(), 0);
  EXPECT_EQ(window.log.size(), 1u);  // nothing to close, no second box
}

TEST_F(StartUp, NonAdministratorIsRefusedWhenThePackageAsksForIt) {
  system.administrator = false;
  EXPECT_FALSE(prepare(shippedLikePlan()));
  EXPECT_EQ(window.log, std::vector<std::string>{
                            "stop Dieses Programm darf nur vom System-Administrator installiert "
                            "werden. / Fehler"});
  EXPECT_EQ(finish(), 0);
  EXPECT_FALSE(exists(workFolder));
}

TEST_F(StartUp, AdministratorCheckOnlyWhenThePackageAsksForIt) {
  system.administrator = false;
  mkpackage::PackagePlan plan = shippedLikePlan();
  plan.header.adminOnly = false;
  EXPECT_TRUE(prepare(plan));
  EXPECT_EQ(system.administratorQueries, 0);
  EXPECT_TRUE(window.log.empty());
}

TEST_F(StartUp, AdministratorPassesTheCheck) {
  EXPECT_TRUE(prepare(shippedLikePlan()));
  EXPECT_EQ(system.administratorQueries, 1);
}

TEST_F(StartUp, PackageCutShortIsIncomplete) {
  mkpackage::PackagePlan plan = shippedLikePlan();
  plan.tail.clear();
  plan.rawArchive = mkpackage::zipEndRecord("");
  mkpackage::Bytes bytes = mkpackage::buildPackage(plan).bytes;
  bytes.pop_back();
  EXPECT_FALSE(prepareBytes(bytes));
  EXPECT_EQ(window.log, std::vector<std::string>{kIncomplete});
  EXPECT_EQ(finish(), 0);
}

TEST_F(StartUp, HeaderWhoseTextsRunPastTheFileIsIncomplete) {
  mkpackage::PackagePlan plan = shippedLikePlan();
  plan.entries.clear();
  plan.tail.clear();
  mkpackage::Bytes bytes = mkpackage::buildPackage(plan).bytes;
  bytes.resize(bytes.size() - 5);  // into the notice
  EXPECT_FALSE(prepareBytes(bytes));
  EXPECT_EQ(window.log, std::vector<std::string>{kIncomplete});
}

TEST_F(StartUp, FileWithoutMagicOpensTheWindowAndFailsAtTheFirstExtraction) {
  mkpackage::Bytes bytes(40000, 0x7F);
  ASSERT_TRUE(prepareBytes(bytes));
  EXPECT_TRUE(window.log.empty());
  EXPECT_STREQ(mainWindowTitle(run), "Self-extracting Archive");
  EXPECT_TRUE(startsUnattended(run));
  windowOpened(run, window);
  EXPECT_EQ(window.entries("stop "),
            std::vector<std::string>{"stop Fehler beim Entpacken der Datei(en). / Fehler"});
  EXPECT_EQ(window.closedWith, 1);
  EXPECT_TRUE(system.starts.empty());
}

class Volumes : public DriverFixture {
protected:
  // Splits the package into volumes beside the own file; returns their paths.
  std::vector<std::string> writeVolumes(mkpackage::PackagePlan plan) {
    plan.header.multiVolume = true;
    // Every volume is at least as large as the header part; a large file makes three.
    std::string program(40000, '\0');
    for (size_t i = 0; i < program.size(); ++i) program[i] = static_cast<char>(i * 7919 % 251);
    plan.entries.push_back(storedEntry("kv5", program));
    const mkpackage::BuiltPackage built = mkpackage::buildPackage(plan);
    const auto pieces = mkpackage::splitIntoVolumes(built.bytes, built.archiveStart + 100,
                                                    built.archiveStart);
    std::vector<std::string> paths;
    for (unsigned k = 0; k < pieces.size(); ++k) {
      const std::string path = mkpackage::volumeFileName(ownPath, k);
      dir.write(path.substr(dir.path().size() + 1),
                std::string(pieces[k].begin(), pieces[k].end()));
      paths.push_back(path);
    }
    return paths;
  }
};

TEST_F(Volumes, AllVolumesAreJoinedIntoTheWorkFolderAndRemovedAtTheEnd) {
  ASSERT_GE(writeVolumes(shippedLikePlan()).size(), 3u);
  ASSERT_TRUE(prepareSetup(run, ownPath.c_str(), window));
  EXPECT_TRUE(window.log.empty());
  EXPECT_EQ(run.joinedFile, workFolder + "/Pakorix.pkg");
  EXPECT_TRUE(exists(run.joinedFile));
  // The joined file serves as the package: the whole install works from it.
  windowOpened(run, window);
  EXPECT_EQ(window.closedWith, 2);
  EXPECT_EQ(system.starts.size(), 2u);
  EXPECT_EQ(finish(), 0);
  EXPECT_FALSE(exists(workFolder));
}

TEST_F(Volumes, MissingVolumeAskedForAndCancelledEndsTheRun) {
  const std::vector<std::string> paths = writeVolumes(shippedLikePlan());
  ASSERT_GE(paths.size(), 3u);
  ASSERT_EQ(unlink(paths[2].c_str()), 0);
  window.boxAnswer = Answer::Cancel;
  EXPECT_FALSE(prepareSetup(run, ownPath.c_str(), window));
  EXPECT_EQ(window.log, (std::vector<std::string>{
                            "info Setup benötigt die Diskette Nr.3.. / KARVELO",
                            "stop Setup-Archiv konnte nicht erfolgreich erstellt werden. / Fehler"}));
  EXPECT_EQ(finish(), 0);
  // The half-joined file and the work folder made for it are gone.
  EXPECT_FALSE(exists(workFolder));
}

}  // namespace
}  // namespace setup::testing
