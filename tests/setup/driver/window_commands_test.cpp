// The main window's life: the unattended run, waiting for the user, the Info box, Close and
// its deletions, a declined licence, a failed extraction, and the end of the run.
#include "tests/setup/driver/driver_fixture.h"
#include "setup/driver/end_of_run.h"
#include "setup/driver/window_commands.h"
#include "setup/package/fixed_notice.h"
#include "setup/platform/files.h"

namespace setup::testing {
namespace {

constexpr const char* kUpdating =
    "text \r\n\r\n\r\nSetup aktualisiert Ihr System:\r\n\r\nAktualisiere Systemeinstellungen ...";
constexpr const char* kWaiting =
    "text \r\n\r\n\r\n\r\nBitte klicken Sie nach der Installation auf \"Fertig\",\r\num "
    "dieses Fenster zu schließen.";

class MainWindowRun : public DriverFixture {
protected:
    std::vector<std::string> deletionTexts() const
    {
        return {"text \r\n\r\n\r\n\r\nLösche " + work("KARV10G1.INF"),
                "text \r\n\r\n\r\n\r\nLösche " + work("sounds/sound1.wav"),
                "text \r\n\r\n\r\n\r\nLösche " + work("P1.dat")};
    }
    bool allFilesThere() const
    {
        return exists(work("KARV10G1.INF")) && exists(work("sounds/sound1.wav")) && exists(work("P1.dat"));
    }
};

TEST_F(MainWindowRun, UnattendedRunInstallsDeletesAndClosesByItself)
{
    ASSERT_TRUE(prepare(shippedLikePlan()));
    ASSERT_TRUE(startsUnattended(run));
    bool filesThereForTheInstaller = false;
    window.onServiceEvents = [&] { filesThereForTheInstaller = allFilesThere(); };
    windowOpened(run, window);

    EXPECT_TRUE(filesThereForTheInstaller);
    EXPECT_EQ(window.closedWith, 2);
    EXPECT_EQ(window.closeCount, 1);
    EXPECT_TRUE(run.installDone);
    EXPECT_EQ(system.starts.size(), 2u);
    // Order: buttons off and Install gone, unpacking, the update text, the installer, then Close.
    const int disabled = window.indexOf("disable");
    const int removed = window.indexOf("remove install");
    const int updating = window.indexOf(kUpdating);
    const int firstService = window.indexOf("service");
    const int firstDeletion = window.indexOf(deletionTexts()[0]);
    ASSERT_GE(disabled, 1);  // after the first foreground
    EXPECT_EQ(window.log[0], "foreground");
    EXPECT_LT(disabled, removed);
    EXPECT_LT(removed, updating);
    EXPECT_LT(updating, firstService);
    EXPECT_LT(firstService, firstDeletion);
    EXPECT_EQ(window.log[firstDeletion - 1], "foreground");
    EXPECT_TRUE(window.entries("enable").empty());

    // One pending event after each deleted file, in list order.
    std::vector<std::string> tail(window.log.begin() + firstDeletion, window.log.end());
    const std::vector<std::string> d = deletionTexts();
    EXPECT_EQ(tail, (std::vector<std::string>{d[0], "event", d[1], "event", d[2], "event", "closed 2"}));
    EXPECT_FALSE(exists(work("P1.dat")));
    EXPECT_EQ(finish(), 0);
    // The work folder and the sub-folder made for the sounds are gone.
    EXPECT_FALSE(exists(workFolder()));
}

TEST_F(MainWindowRun, WelcomeTextWaitsForTheUser)
{
    mkpackage::PackagePlan plan = shippedLikePlan();
    plan.header.welcomeText = "Willkommen!";
    ASSERT_TRUE(prepare(plan));
    EXPECT_FALSE(startsUnattended(run));
    EXPECT_STREQ(openingText(run), "Willkommen!");
    windowOpened(run, window);
    EXPECT_TRUE(window.log.empty());
    EXPECT_FALSE(run.installDone);
    installCommand(run, window);
    EXPECT_TRUE(run.installDone);
    EXPECT_EQ(window.closedWith, 2);
}

TEST_F(MainWindowRun, KeepWindowOpenWaitsWithInfoAndOkThenCloseDeletes)
{
    mkpackage::PackagePlan plan = shippedLikePlan();
    plan.header.keepWindowOpen = true;
    plan.header.hideInfoButton = false;
    ASSERT_TRUE(prepare(plan));
    EXPECT_FALSE(startsUnattended(run));
    EXPECT_STREQ(openingText(run), "\r\r\rBitte klicken Sie \"Installieren\", um die Installation "
                                   "zu starten.");
    installCommand(run, window);
    EXPECT_EQ(window.closeCount, 0);
    EXPECT_TRUE(window.entries("remove").empty());
    const std::vector<std::string> last(window.log.end() - 4, window.log.end());
    EXPECT_EQ(last, (std::vector<std::string>{"close &Ok", kWaiting, "install &Info", "enable"}));
    EXPECT_TRUE(allFilesThere());

    // Info shows the box each time and changes nothing else.
    const std::string info =
        std::string("info ") + fixedNotice() + "Freeware - bitte weitergeben. / License Information";
    window.log.clear();
    installCommand(run, window);
    installCommand(run, window);
    EXPECT_EQ(window.log, (std::vector<std::string>{info, info}));
    EXPECT_EQ(system.starts.size(), 2u);

    window.log.clear();
    closeCommand(run, window);
    const std::vector<std::string> d = deletionTexts();
    EXPECT_EQ(window.log,
              (std::vector<std::string>{d[0], "event", d[1], "event", d[2], "event", "closed 2"}));
    EXPECT_FALSE(exists(work("KARV10G1.INF")));
    finish();
    EXPECT_FALSE(exists(workFolder()));
}

TEST_F(MainWindowRun, KeepWindowOpenWithoutInfoButtonClosesOnEnter)
{
    mkpackage::PackagePlan plan = shippedLikePlan();
    plan.header.keepWindowOpen = true;
    ASSERT_TRUE(prepare(plan));
    installCommand(run, window);
    EXPECT_EQ(window.closeCount, 0);
    window.log.clear();
    installCommand(run, window);  // Enter: the Install button is gone
    EXPECT_EQ(window.log.front(), "foreground");
    EXPECT_EQ(window.log.back(), "closed 2");
    EXPECT_TRUE(window.entries("info").empty());
    EXPECT_FALSE(exists(work("P1.dat")));
}

TEST_F(MainWindowRun, CloseBeforeInstallingOnlyCloses)
{
    mkpackage::PackagePlan plan = shippedLikePlan();
    plan.header.welcomeText = "Hallo";
    ASSERT_TRUE(prepare(plan));
    closeCommand(run, window);
    EXPECT_EQ(window.log, std::vector<std::string>{"closed 2"});
    EXPECT_FALSE(run.installDone);
    EXPECT_EQ(finish(), 0);
}

TEST_F(MainWindowRun, CommandsWhileTheInstallerRunsAreIgnored)
{
    ASSERT_TRUE(prepare(shippedLikePlan()));
    int attempts = 0;
    window.onServiceEvents = [&] {
        ++attempts;
        closeCommand(run, window);    // Escape or the close box
        installCommand(run, window);  // Enter
        EXPECT_EQ(window.closeCount, 0);
        EXPECT_TRUE(allFilesThere());
    };
    windowOpened(run, window);
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(system.starts.size(), 2u);  // the sequence did not start again
    EXPECT_EQ(window.closeCount, 1);
    EXPECT_EQ(window.closedWith, 2);
}

TEST_F(MainWindowRun, DeclinedLicenceLeavesTheWindowAsItWas)
{
    mkpackage::PackagePlan plan = shippedLikePlan();
    plan.header.licenceText = "Lizenz: alles erlaubt.";
    plan.header.welcomeText = "Hallo";
    ASSERT_TRUE(prepare(plan));
    window.agreeToLicence = false;
    installCommand(run, window);
    EXPECT_EQ(window.log, std::vector<std::string>{"licence Lizenz: alles erlaubt."});
    EXPECT_FALSE(run.installDone);
    EXPECT_FALSE(exists(workFolder()));

    window.agreeToLicence = true;
    installCommand(run, window);
    EXPECT_TRUE(run.installDone);
    EXPECT_EQ(window.entries("licence").size(), 2u);
    EXPECT_EQ(window.closedWith, 2);
}

TEST_F(MainWindowRun, FailedExtractionClosesAtOnceAndLeavesTheFiles)
{
    mkpackage::PackagePlan plan = shippedLikePlan();
    plan.entries[1].damage.wrongCrc = true;
    ASSERT_TRUE(prepare(plan));
    windowOpened(run, window);
    EXPECT_EQ(window.entries("stop"),
              std::vector<std::string>{"stop Fehler beim Entpacken der Datei(en). / Fehler"});
    EXPECT_EQ(window.log.back(), "closed 1");
    EXPECT_TRUE(system.starts.empty());
    EXPECT_EQ(window.indexOf(kUpdating), -1);
    EXPECT_EQ(finish(), 0);
    EXPECT_TRUE(exists(work("KARV10G1.INF")));
    EXPECT_TRUE(exists(work("sounds/sound1.wav")));
}

TEST_F(MainWindowRun, EndOfRunReportsAPackageThatCannotBeClosed)
{
    ASSERT_TRUE(prepare(shippedLikePlan()));
    ASSERT_TRUE(closeFile(run.packageFd));  // someone closed it under us
    EXPECT_EQ(finish(), 0);
    EXPECT_EQ(window.log, std::vector<std::string>{"stop Kann Datei nicht schließen .. / Fehler"});
}

}  // namespace
}  // namespace setup::testing
