// Whole runs of the setup inside the test program, with a scripted user in front of the
// real windows.
#include <filesystem>
#include <functional>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

#include "tests/setup/program/in_process_fixture.h"
#include "setup/dialogs/run_setup.h"
#include "setup/package/fixed_notice.h"
#include "tools/mkpackage/volumes.h"

namespace setup::testing {
namespace {

const std::vector<std::string> kBothSectionsRan = {"start", "end", "start", "end"};

// The installer log without the lines about arguments and folders.
std::vector<std::string> startsAndEnds(const std::string& log)
{
    std::vector<std::string> result;
    for (const std::string& line : installerLog(log))
        if (line == "start" || line == "end")
            result.push_back(line);
    return result;
}

TEST_F(InProcessRun, WelcomeTextWaitsForInstallThenTheRunEndsByItself)
{
    mkpackage::PackagePlan plan = programPlan();
    plan.header.welcomeText = "Willkommen bei KARVELO!\r\nViel Spa\xdf.";  // as stored
    QString title, installCaption, closeCaption;
    QSize size;
    script.then({"main window opened", [](QWidget* w) { return isMainWindow(w); },
                 [&](QWidget* w) {
                     title = w->windowTitle();
                     size = w->size();
                     const QList<QAbstractButton*> buttons = w->findChildren<QAbstractButton*>();
                     installCaption = buttons.at(0)->text();
                     closeCaption = buttons.at(1)->text();
                     mainTexts.push_back(mainText(w).toStdString());
                     clickLater(buttons.at(0));
                 }});
    EXPECT_EQ(runOn(plan), 0);
    EXPECT_EQ(title, "KARVELO");
    EXPECT_EQ(installCaption, "&Installieren");
    EXPECT_EQ(closeCaption, "&Schließen");
    EXPECT_EQ(size, QSize(444, 135));  // 296 x 83 dialog units
    EXPECT_EQ(mainTexts, std::vector<std::string>{"Willkommen bei KARVELO!\nViel Spaß."});
    EXPECT_EQ(startsAndEnds(log), kBothSectionsRan);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(exists(workFolder()));
}

TEST_F(InProcessRun, KeepWindowOpenOffersInfoEachTimeAndOkDeletes)
{
    mkpackage::PackagePlan plan = programPlan();
    plan.header.keepWindowOpen = true;
    plan.header.hideInfoButton = false;
    plan.header.productName.clear();
    QString title;
    script.then({"main window opened", [](QWidget* w) { return isMainWindow(w); },
                 [&](QWidget* w) {
                     title = w->windowTitle();
                     mainTexts.push_back(mainText(w).toStdString());
                     clickLater(buttonWithText(w, "&Installieren"));
                 }});
    clickInMain("&Info");
    answerBox();
    clickInMain("&Info");
    answerBox();
    clickInMain("&Ok", [this](QWidget*) { return exists(work("kv5")); });
    EXPECT_EQ(runOn(plan), 0);

    EXPECT_EQ(title, "Self-extracting Archive");
    EXPECT_EQ(mainTexts.front(), "\n\n\nBitte klicken Sie \"Installieren\", um die Installation zu starten.");
    EXPECT_EQ(mainTexts.back(), "\n\n\n\nBitte klicken Sie nach der Installation auf "
                                "\"Fertig\",\num dieses Fenster zu schließen.");
    ASSERT_EQ(boxes.size(), 2u);
    for (const SeenBox& box : boxes) {
        std::string expected = std::string(fixedNotice()) + "Freeware - bitte weitergeben.";
        expected.replace(expected.find("\r\n"), 2, "\n");
        EXPECT_EQ(box.text, expected);
        EXPECT_EQ(box.caption, "License Information");
        EXPECT_EQ(box.icon, QMessageBox::Information);
    }
    EXPECT_EQ(startsAndEnds(log), kBothSectionsRan);
    EXPECT_FALSE(exists(workFolder()));
}

TEST_F(InProcessRun, EscapeWhileWaitingDeletesAndCloses)
{
    mkpackage::PackagePlan plan = programPlan();
    plan.header.keepWindowOpen = true;
    clickInMain("&Installieren");
    script.then({"Escape in the waiting window",
                 [this](QWidget* w) { return isMainWindow(w) && mainText(w).contains("Fertig"); },
                 [](QWidget* w) { keyLater(w, Qt::Key_Escape); }});
    EXPECT_EQ(runOn(plan), 0);
    EXPECT_EQ(startsAndEnds(log), kBothSectionsRan);
    EXPECT_FALSE(exists(workFolder()));
}

TEST_F(InProcessRun, EnterAfterInstallingWithoutInstallButtonDeletesAndCloses)
{
    mkpackage::PackagePlan plan = programPlan();
    plan.header.keepWindowOpen = true;
    plan.header.hideInfoButton = true;
    bool keptAfterEarlyEnter = false;
    bool installVisibleWhileWaiting = true;
    clickInMain("&Installieren");
    // Enter while the installer works is ignored: the files stay for it.
    script.then({"Enter while the installer runs",
                 [](QWidget* w) { return isMainWindow(w) && mainText(w).contains("aktualisiert"); },
                 [](QWidget* w) { keyLater(w, Qt::Key_Return); }});
    script.then({"Enter in the waiting window",
                 [](QWidget* w) { return isMainWindow(w) && mainText(w).contains("Fertig"); },
                 [&](QWidget* w) {
                     keptAfterEarlyEnter = exists(work("kv5")) && exists(work("KARV10G1.INF"));
                     installVisibleWhileWaiting = buttonWithText(w, "&Info")->isVisible();
                     keyLater(w, Qt::Key_Return);
                 }});
    EXPECT_EQ(runOn(plan), 0);
    EXPECT_TRUE(keptAfterEarlyEnter);
    EXPECT_FALSE(installVisibleWhileWaiting);
    EXPECT_EQ(startsAndEnds(log), kBothSectionsRan);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(exists(workFolder()));
}

TEST_F(InProcessRun, LicenceDeclinedByEnterThenAccepted)
{
    mkpackage::PackagePlan plan = programPlan();
    plan.header.welcomeText = "Hallo";
    plan.header.licenceText = "Lizenz\r\nZeile zwei";
    QString licenceTitle, licenceText, prompt;
    clickInMain("&Installieren");
    script.then({"licence page, Enter",
                 [](QWidget* w) { return !w->findChildren<QPlainTextEdit*>().isEmpty(); },
                 [&](QWidget* w) {
                     licenceTitle = w->windowTitle();
                     licenceText = w->findChild<QPlainTextEdit*>()->toPlainText();
                     prompt = w->findChild<QLabel*>()->text();
                     EXPECT_TRUE(buttonWithText(w, "Ich stimme zu"));
                     EXPECT_TRUE(buttonWithText(w, "&Abbrechen"));
                     keyLater(w, Qt::Key_Return);
                 }});
    // Declined: the window is as it was, nothing unpacked.
    clickInMain("&Installieren", [this](QWidget*) { return !exists(workFolder()); });
    script.then({"licence page, agree",
                 [](QWidget* w) { return !w->findChildren<QPlainTextEdit*>().isEmpty(); },
                 [](QWidget* w) { clickLater(buttonWithText(w, "Ich stimme zu")); }});
    EXPECT_EQ(runOn(plan), 0);
    EXPECT_EQ(licenceTitle, "Lizenzvereinbarung");
    EXPECT_EQ(licenceText, "Lizenz\nZeile zwei");
    EXPECT_EQ(prompt, "Um mit der Installation fortzufahren, müssen Sie allen Punkten der "
                      "Lizenzvereinbarung\nzustimmen.");
    EXPECT_EQ(startsAndEnds(log), kBothSectionsRan);
}

TEST_F(InProcessRun, PasswordPromptHidesTheTextAndAsksAgainAfterAWrongOne)
{
    mkpackage::PackagePlan plan = programPlan();
    // Keyed in the package's code page; typed as the user's text.
    for (mkpackage::EntryPlan& entry : plan.entries)
        entry.password = "Gr\xF6\xDF"
                         "e";
    std::vector<QString> titles;
    auto answer = [&](const QString& typed) {
        script.then(
            {"password prompt", [](QWidget* w) { return w->findChild<QLineEdit*>() != nullptr; },
             [&titles, typed](QWidget* w) {
                 QLineEdit* edit = w->findChild<QLineEdit*>();
                 titles.push_back(w->windowTitle());
                 EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
                 EXPECT_EQ(edit->maxLength(), 79);
                 EXPECT_EQ(w->focusWidget(), edit);
                 // Typed as key events carrying their text, umlauts included.
                 for (const QChar c : typed)
                     QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
                 EXPECT_EQ(edit->text(), typed);
                 // The field's own menu speaks German too.
                 const std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
                 EXPECT_TRUE(menu->actions().constFirst()->text().startsWith(QStringLiteral("&Rückgängig\t")))
                     << menu->actions().constFirst()->text().toStdString();
                 clickLater(buttonWithText(w, "&Ok"));
             }});
    };
    answer("falsch");
    answer(QStringLiteral("Größe"));
    EXPECT_EQ(runOn(plan), 0);
    EXPECT_EQ(titles, (std::vector<QString>{"Bitte geben Sie das Paßwort ein...",
                                            "Bitte geben Sie das Paßwort ein..."}));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(startsAndEnds(log), kBothSectionsRan);
}

TEST_F(InProcessRun, PasswordCancelledFailsTheExtraction)
{
    mkpackage::PackagePlan plan = programPlan();
    plan.entries[1].password = "geheim";
    script.then({"password prompt, cancel", [](QWidget* w) { return w->findChild<QLineEdit*>() != nullptr; },
                 [](QWidget* w) { clickLater(buttonWithText(w, "&Abbrechen")); }});
    EXPECT_EQ(runOn(plan), 0);
    EXPECT_TRUE(exists(work("KARV10G1.INF")));
    EXPECT_FALSE(exists(log));
}

// Runs that end in boxes alone, with the files they leave (none: no work folder is left).
// The installer never runs.
TEST_F(InProcessRun, RunsEndingInBoxesShowThemAndLeaveWhatTheySay)
{
    constexpr auto kStop = QMessageBox::Critical;
    const std::string missing = dir.file("weg.run");
    mkpackage::PackagePlan damaged = programPlan();
    damaged.entries[2].damage.wrongCrc = true;
    mkpackage::PackagePlan cut = programPlan();
    cut.tail = {'R', 'S'};
    mkpackage::PackagePlan withoutInstaller = programPlan();
    withoutInstaller.entries.pop_back();
    mkpackage::PackagePlan volumes = programPlan();
    volumes.header.multiVolume = true;
    const mkpackage::BuiltPackage built = mkpackage::buildPackage(volumes);
    const auto pieces = mkpackage::splitIntoVolumes(built.bytes, built.archiveStart + 60, built.archiveStart);
    ASSERT_GE(pieces.size(), 2u);
    struct Case {
        std::string what;
        std::function<int()> run;
        std::vector<SeenBox> shown;
        std::vector<std::string> left;
        QMessageBox::StandardButton answer = QMessageBox::Ok;  // to the first box
    };
    const Case cases[] = {
        {"damaged entry",
         [&] { return runOn(damaged); },
         {{"Fehler beim Entpacken der Datei(en).", "Fehler", kStop}},
         {"KARV10G1.INF", "sounds/sound1.wav", "kv5"}},  // kv5 created, then found damaged
        {"no installer to start",
         [&] {
             const std::string savedPath = getenv("PATH");
             setenv("PATH", dir.file("nothing-here").c_str(), 1);
             const int code = runOn(withoutInstaller);
             setenv("PATH", savedPath.c_str(), 1);
             return code;
         },
         {{"Fehler beim Initialisieren der Installation.", "Fehler", kStop}},
         {}},
        {"own file missing",
         [&] { return runOnFile(missing); },
         {{missing, "Kann Datei nicht öffnen ..", kStop}},
         {}},
        {"package cut short",
         [&] { return runOn(cut); },
         {{"Dateigröße inkorrekt - bitte versuchen Sie, dieses Programm nochmals downzuloaden.", "Fehler",
           kStop}},
         {}},
        {"own file the system cannot name",
         [] { return setup::runSetup(nullptr, -1, "./KARVELO-setup.run"); },
         {{"./KARVELO-setup.run", "Kann Datei nicht öffnen ..", kStop}},
         {}},
        {"nor by the name it was started by",
         [] { return setup::runSetup(nullptr, -1, ""); },
         {{"setup", "Kann Datei nicht öffnen ..", kStop}},
         {}},
        {"missing volume asked for, then cancelled",
         [&] {
             return runOnFile(
                 dir.write("KARVELO-setup.run", std::string(pieces[0].begin(), pieces[0].end())));
         },
         {{"Setup benötigt die Diskette Nr.2..", "KARVELO", QMessageBox::Information},
          {"Setup-Archiv konnte nicht erfolgreich erstellt werden.", "Fehler", kStop}},
         {},
         QMessageBox::Cancel},
    };
    const auto described = [](const std::vector<SeenBox>& seen) {
        std::vector<std::string> lines;
        for (const SeenBox& box : seen)
            lines.push_back(box.text + " / " + box.caption + " / " + std::to_string(box.icon));
        return lines;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        std::filesystem::remove_all(ownFolderOfRun(tmp));
        for (std::size_t i = 0; i < c.shown.size(); ++i)
            answerBox(i == 0 ? c.answer : QMessageBox::Ok);
        EXPECT_EQ(c.run(), 0);
        EXPECT_TRUE(script.remaining().empty());
        EXPECT_EQ(described(boxes), described(c.shown));
        EXPECT_FALSE(exists(log));
        for (const std::string& name : c.left)
            EXPECT_TRUE(exists(work(name))) << name;
        EXPECT_EQ(exists(workFolder()), !c.left.empty());
    }
}

}  // namespace
}  // namespace setup::testing
