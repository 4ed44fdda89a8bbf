#include "tests/setup/program/in_process_fixture.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "setup/dialogs/run_setup.h"
#include "setup/platform/files.h"

namespace setup::testing {

InProcessRun::InProcessRun()
{
    if (const char* old = getenv("TMPDIR"))
        savedTmpdir_ = old;
    mkdir(tmp.c_str(), 0700);
    setenv("TMPDIR", tmp.c_str(), 1);
    setenv("KV_INFINSTALL_LOG", log.c_str(), 1);
}

InProcessRun::~InProcessRun()
{
    if (savedTmpdir_.empty())
        unsetenv("TMPDIR");
    else
        setenv("TMPDIR", savedTmpdir_.c_str(), 1);
    unsetenv("KV_INFINSTALL_LOG");
}

int InProcessRun::runOnFile(const std::string& ownPath)
{
    const int code =
        setup::runSetup(ownPath.c_str(), openExistingForReading(ownPath.c_str()), ownPath.c_str());
    for (const Step& step : script.remaining())
        ADD_FAILURE() << "never happened: " << step.description;
    return code;
}

int InProcessRun::runOn(const mkpackage::PackagePlan& plan)
{
    return runOnFile(writePackage(dir, plan));
}

void InProcessRun::answerBox(QMessageBox::StandardButton button)
{
    script.then(
        {"a message box", [](QWidget* w) { return asMessageBox(w) != nullptr; },
         [this, button](QWidget* w) {
             QMessageBox* box = asMessageBox(w);
             boxes.push_back({box->text().toStdString(), box->windowTitle().toStdString(), box->icon()});
             clickLater(box->button(button));
         }});
}

QString InProcessRun::mainText(QWidget* window)
{
    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    return labels.size() == 1 ? labels.front()->text() : QString();
}

void InProcessRun::clickInMain(const QString& caption, std::function<bool(QWidget*)> recognises)
{
    script.then({"main window, " + caption.toStdString(),
                 [caption, recognises](QWidget* w) {
                     if (!isMainWindow(w))
                         return false;
                     QAbstractButton* button = buttonWithText(w, caption);
                     return button && button->isVisible() && button->isEnabled() &&
                            (!recognises || recognises(w));
                 },
                 [this, caption](QWidget* w) {
                     mainTexts.push_back(mainText(w).toStdString());
                     clickLater(buttonWithText(w, caption));
                 }});
}

bool InProcessRun::isMainWindow(QWidget* window)
{
    return !asMessageBox(window) && window->findChildren<QPlainTextEdit*>().isEmpty() &&
           window->findChildren<QLineEdit*>().isEmpty() && window->findChildren<QLabel*>().size() == 1;
}

bool InProcessRun::exists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

}  // namespace setup::testing
