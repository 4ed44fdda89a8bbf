#pragma once
// Runs runSetup inside the test program on a package in a private folder, with $TMPDIR
// pointing there; the package carries the installer stand-in.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <string>
#include <vector>

#include "tests/setup/support/work_folder.h"
#include "tests/setup/program/modal_script.h"
#include "tests/setup/program/program_support.h"

namespace setup::testing {

struct SeenBox {
    std::string text;
    std::string caption;
    QMessageBox::Icon icon;
};

class InProcessRun : public ::testing::Test {
protected:
    InProcessRun();
    ~InProcessRun() override;

    // runSetup on `plan`; the steps must all have run.
    int runOn(const mkpackage::PackagePlan& plan);
    int runOnFile(const std::string& ownPath);

    // Steps for the usual windows.
    void answerBox(QMessageBox::StandardButton button = QMessageBox::Ok);
    // Waits for the main window in a state `recognises` accepts, then clicks `caption`.
    void clickInMain(const QString& caption, std::function<bool(QWidget*)> recognises = {});

    static bool exists(const std::string& path);
    static QString mainText(QWidget* window);
    static bool isMainWindow(QWidget* window);
    std::string work(const std::string& name) const { return workFolder() + "/" + name; }

    TempDir dir;
    std::string tmp = dir.file("tmp");
    std::string workFolder() const { return runWorkFolder(tmp); }
    std::string log = dir.file("installer.log");
    ModalScript script;
    std::vector<SeenBox> boxes;
    std::vector<std::string> mainTexts;  // the main window's text each time a step looked

private:
    std::string savedTmpdir_;
    std::string savedLog_;
};

}  // namespace setup::testing
