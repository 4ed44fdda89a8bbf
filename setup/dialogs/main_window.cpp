#include "setup/dialogs/main_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "setup/dialogs/controls.h"
#include "setup/dialogs/dialog_units.h"
#include "setup/dialogs/display_text.h"
#include "setup/dialogs/licence_dialog.h"
#include "setup/dialogs/message_box.h"
#include "setup/dialogs/password_dialog.h"
#include "setup/dialogs/setup_icon.h"
#include "setup/driver/setup_run.h"
#include "setup/driver/window_commands.h"

namespace setup {
namespace {

// Calls one of the window's handlers. One functor type serves every
// connection: each lambda would instantiate Qt's slot code anew.
struct Handler {
    MainWindow* window;
    void (MainWindow::*handle)();
    void operator()() const { (window->*handle)(); }
};

}  // namespace

MainWindow::MainWindow(SetupRun& run)
    : run_(run), dialog_(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                      Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      install_(addButton(&dialog_, "", 249, 13, 43, 15)), close_(addButton(&dialog_, "", 249, 33, 43, 15)),
      text_(new QLabel(QString(), &dialog_))
{
    install_->setDefault(true);
    placeInUnits(text_, 17, 5, 228, 75);
    text_->setTextFormat(Qt::PlainText);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setWordWrap(true);
    QObject::connect(install_, &QPushButton::clicked, &dialog_, Handler{this, &MainWindow::installPressed});
    QObject::connect(close_, &QPushButton::clicked, &dialog_, Handler{this, &MainWindow::closePressed});
    // Escape and the close box reject the dialog.
    QObject::connect(&dialog_, &QDialog::rejected, &dialog_, Handler{this, &MainWindow::rejectedBySystem});
}

int MainWindow::showMainWindow()
{
    applySetupIcon();
    setTitle(&dialog_, mainWindowTitle(run_));
    setCaption(install_, "&Installieren");
    setCaption(close_, "&Schließen");
    setStatusText(openingText(run_));
    sizeAndCentre(&dialog_, 296, 83);
    // Once the window is up an unattended run presses Install by itself.
    QTimer::singleShot(0, &dialog_, Handler{this, &MainWindow::opened});
    // A rejection ignored during the install sequence ends one modal run
    // without closing the window: the next one goes on where it left off.
    result_ = 0;
    do {
        ignoredRejection_ = false;
        dialog_.exec();
    } while (result_ == 0 && ignoredRejection_);
    return result_;
}

void MainWindow::installPressed()
{
    installCommand(run_, *this);
}

void MainWindow::closePressed()
{
    closeCommand(run_, *this);
}

void MainWindow::opened()
{
    windowOpened(run_, *this);
}

void MainWindow::rejectedBySystem()
{
    // Rejecting has hidden the window. While the installer works the window
    // has to stay: closing would delete the files under it.
    if (run_.installing) {
        ignoredRejection_ = true;
        dialog_.show();
    } else {
        closeCommand(run_, *this);
    }
}

Answer MainWindow::messageBox(const char* text, const char* caption, Icon icon, Buttons buttons)
{
    return showMessageBox(text, caption, icon, buttons);
}

void MainWindow::setStatusText(const char* text)
{
    text_->setText(displayText(text));
}

void MainWindow::processOneEvent()
{
    QCoreApplication::processEvents();
}

bool MainWindow::askPassword(char* entry, int* length)
{
    return setup::askPassword(entry, length);
}

void MainWindow::setButtonCaption(MainButton button, const char* caption)
{
    setCaption(button == MainButton::Install ? install_ : close_, caption);
}

void MainWindow::enableButtons(bool enabled)
{
    install_->setEnabled(enabled);
    close_->setEnabled(enabled);
}

void MainWindow::removeInstallButton()
{
    install_->hide();
    // A hidden default button takes no Enter. Close takes its place: disabled
    // while installing, so Enter stays ignored until the window waits.
    close_->setDefault(true);
}

void MainWindow::bringToForeground()
{
    dialog_.raise();
    dialog_.activateWindow();
}

void MainWindow::closeWindow(int result)
{
    result_ = result;
    dialog_.hide();
}

bool MainWindow::askLicence(const char* licenceText)
{
    return setup::askLicence(licenceText);
}

void MainWindow::serviceEvents()
{
    QCoreApplication::processEvents();
}

}  // namespace setup
