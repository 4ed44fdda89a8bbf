// The start-up: where the work folder goes, which failures end the run before the window
// opens, and what the end of such a run leaves behind.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "tests/setup/driver/driver_fixture.h"
#include "setup/driver/end_of_run.h"
#include "setup/driver/start_up.h"
#include "setup/driver/whole_run.h"
#include "setup/driver/window_commands.h"
#include "setup/platform/files.h"
#include "tools/mkpackage/volumes.h"

namespace setup::testing {
namespace {

using StartUp = DriverFixture;

constexpr const char* kIncomplete =
    "stop Dateigröße inkorrekt - bitte versuchen Sie, dieses Programm nochmals downzuloaden. / "
    "Fehler";

TEST_F(StartUp, CompletePackageOpensTheWindowWithTheHeaderRead)
{
    ASSERT_TRUE(prepare(shippedLikePlan()));
    EXPECT_TRUE(window.log.empty());
    EXPECT_EQ(run.workFolder, workFolder());
    EXPECT_EQ(std::string(run.systemFolder), "/var/tmp/");
    EXPECT_GE(run.packageFd, 0);
    EXPECT_STREQ(run.settings.infName, "KARV10G1.INF");
    EXPECT_STREQ(mainWindowTitle(run), "KARVELO");
    // The work folder is only made when something is unpacked into it.
    EXPECT_FALSE(exists(workFolder()));
    EXPECT_EQ(finish(), 0);
    EXPECT_EQ(run.packageFd, -1);
}

// The name another user may take in a shared temporary folder, as a folder or as a link,
// stops nothing: the run unpacks and installs in its own folder, removes that at its end and
// leaves theirs as it is.
TEST_F(StartUp, AWorkFolderNameTakenInTheTemporaryFolderStopsNothing)
{
    const std::string taken = tmp + "/$Pakorix.Tmp";
    for (const bool asLink : {false, true}) {
        ASSERT_EQ(asLink ? symlink("/", taken.c_str()) : mkdir(taken.c_str(), 0755), 0);
        ASSERT_TRUE(prepare(shippedLikePlan()));
        EXPECT_EQ(std::string(run.workFolder).rfind(tmp + "/KARVELO-", 0), 0u) << run.workFolder;
        const size_t started = system.starts.size();
        windowOpened(run, window);
        EXPECT_EQ(system.starts.size(), started + 2);
        EXPECT_EQ(finish(), 0);
        EXPECT_EQ(ownFolderOfRun(tmp), "");
        struct stat info;
        EXPECT_TRUE(lstat(taken.c_str(), &info) == 0 &&
                    (asLink ? S_ISLNK(info.st_mode) : S_ISDIR(info.st_mode)));
        std::filesystem::remove(taken);
        restart();
    }
}

TEST_F(StartUp, OwnFileThatCannotBeOpenedIsReportedByItsPath)
{
    const std::string missing = dir.file("weg.run");
    EXPECT_FALSE(prepareSetup(run, missing.c_str(), openExistingForReading(missing.c_str()), window));
    EXPECT_EQ(window.log, std::vector<std::string>{"stop " + missing + " / Kann Datei nicht öffnen .."});
    EXPECT_EQ(finish(), 0);
    EXPECT_EQ(window.log.size(), 1u);  // nothing to close, no second box
}

// The check is made only when the package asks for it, and refuses only a non-administrator.
TEST_F(StartUp, AdministratorCheckOnlyWhereThePackageAsksForIt)
{
    const std::string refused =
        "stop Dieses Programm darf nur vom System-Administrator installiert werden. / Fehler";
    struct Case {
        bool administrator;
        bool adminOnly;
        bool prepared;
        int queries;
    };
    for (const Case c :
         {Case{false, true, false, 1}, Case{false, false, true, 0}, Case{true, true, true, 1}}) {
        SCOPED_TRACE(::testing::Message() << c.administrator << c.adminOnly);
        restart();
        system.administrator = c.administrator;
        system.administratorQueries = 0;
        mkpackage::PackagePlan plan = shippedLikePlan();
        plan.header.adminOnly = c.adminOnly;
        EXPECT_EQ(prepare(plan), c.prepared);
        EXPECT_EQ(system.administratorQueries, c.queries);
        EXPECT_EQ(window.log, c.prepared ? std::vector<std::string>{} : std::vector<std::string>{refused});
        EXPECT_EQ(finish(), 0);
        EXPECT_FALSE(exists(workFolder()));
    }
}

// Each is told by the completeness message before the window opens, and the run ends with
// nothing unpacked: one package without its magic, one that the completeness check refuses
// (the header and completeness tables try the other ways to be incomplete).
TEST_F(StartUp, IncompletePackagesEndTheRunBeforeTheWindow)
{
    struct Case {
        const char* what;
        mkpackage::Bytes bytes;
    };
    std::vector<Case> cases = {
        {"cut short by one byte", mkpackage::buildPackage(shippedLikePlan()).bytes},
        {"a broken magic", mkpackage::buildPackage(shippedLikePlan()).bytes},
    };
    cases[0].bytes.pop_back();
    cases[1].bytes[mkpackage::kImageSize + 2] = 'X';
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        EXPECT_FALSE(prepareBytes(c.bytes));
        EXPECT_EQ(window.log, std::vector<std::string>{kIncomplete});
        EXPECT_EQ(finish(), 0);
        EXPECT_EQ(window.log.size(), 1u);
        EXPECT_FALSE(exists(workFolder()));
    }
}

// The whole run shows the window only after a start that succeeded, and always ends the run.
TEST_F(StartUp, WholeRunShowsTheWindowOnlyAfterASuccessfulStart)
{
    mkpackage::PackagePlan plan = shippedLikePlan();
    plan.header.adminOnly = false;  // the run is made fresh, with the real administrator check
    mkpackage::PackagePlan cut = plan;
    cut.tail = {'R', 'S'};
    struct Case {
        const char* what;
        const mkpackage::PackagePlan* plan;  // none: the system cannot name the own file
        const char* startedAs;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"complete package", &plan, nullptr, {"show"}},
        {"package cut short", &cut, nullptr, {kIncomplete}},
        {"own path unknown",
         nullptr,
         "./KARVELO-setup.run",
         {"stop ./KARVELO-setup.run / Kann Datei nicht öffnen .."}},
        {"nor the name it was started by", nullptr, "", {"stop setup / Kann Datei nicht öffnen .."}},
    };
    finished = true;  // each run below ends itself
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        window.log.clear();
        int ownFile = -1;
        if (c.plan) {
            const mkpackage::Bytes bytes = mkpackage::buildPackage(*c.plan).bytes;
            dir.write("KARVELO-setup.run", std::string(bytes.begin(), bytes.end()));
            ownFile = openExistingForReading(ownPath.c_str());
        }
        EXPECT_EQ(runWholeSetup(run, c.plan ? ownPath.c_str() : nullptr, ownFile, c.startedAs, window), 0);
        EXPECT_EQ(window.log, c.log);
        EXPECT_EQ(run.packageFd, -1);
        EXPECT_FALSE(exists(workFolder()));
    }
}

class Volumes : public DriverFixture {
protected:
    // Splits the package into volumes beside the own file; returns their paths.
    std::vector<std::string> writeVolumes(mkpackage::PackagePlan plan)
    {
        plan.header.multiVolume = true;
        // Every volume is at least as large as the header part; a large file makes three.
        std::string program(40000, '\0');
        for (size_t i = 0; i < program.size(); ++i)
            program[i] = static_cast<char>(i * 7919 % 251);
        plan.entries.push_back(storedEntry("kv5", program));
        const mkpackage::BuiltPackage built = mkpackage::buildPackage(plan);
        const auto pieces =
            mkpackage::splitIntoVolumes(built.bytes, built.archiveStart + 100, built.archiveStart);
        std::vector<std::string> paths;
        for (unsigned k = 0; k < pieces.size(); ++k) {
            const std::string path = mkpackage::volumeFileName(ownPath, k);
            dir.write(path.substr(dir.path().size() + 1), std::string(pieces[k].begin(), pieces[k].end()));
            paths.push_back(path);
        }
        return paths;
    }
};

TEST_F(Volumes, AllVolumesAreJoinedIntoTheWorkFolderAndRemovedAtTheEnd)
{
    ASSERT_GE(writeVolumes(shippedLikePlan()).size(), 3u);
    ASSERT_TRUE(prepareSetup(run, ownPath.c_str(), openExistingForReading(ownPath.c_str()), window));
    EXPECT_TRUE(window.log.empty());
    EXPECT_EQ(run.joinedFile, workFolder() + "/Pakorix.pkg");
    EXPECT_TRUE(exists(run.joinedFile));
    // The joined file serves as the package: the whole install works from it.
    windowOpened(run, window);
    EXPECT_EQ(window.closedWith, 2);
    EXPECT_EQ(system.starts.size(), 2u);
    EXPECT_EQ(finish(), 0);
    EXPECT_FALSE(exists(workFolder()));
}

TEST_F(Volumes, MissingVolumeAskedForAndCancelledEndsTheRun)
{
    const std::vector<std::string> paths = writeVolumes(shippedLikePlan());
    ASSERT_GE(paths.size(), 3u);
    ASSERT_EQ(unlink(paths[2].c_str()), 0);
    window.boxAnswer = Answer::Cancel;
    EXPECT_FALSE(prepareSetup(run, ownPath.c_str(), openExistingForReading(ownPath.c_str()), window));
    EXPECT_EQ(window.log, (std::vector<std::string>{
                              "info Setup benötigt die Diskette Nr.3.. / KARVELO",
                              "stop Setup-Archiv konnte nicht erfolgreich erstellt werden. / Fehler"}));
    EXPECT_EQ(finish(), 0);
    // The half-joined file and the work folder made for it are gone.
    EXPECT_FALSE(exists(workFolder()));
}

}  // namespace
}  // namespace setup::testing
