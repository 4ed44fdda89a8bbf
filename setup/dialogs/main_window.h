#pragma once
// DLG_MAIN: the window that carries the whole installation, and the user
// interface the driver and the core talk to.
#include <QDialog>

#include "setup/driver/setup_window.h"

class QLabel;
class QPushButton;

namespace setup {

struct SetupRun;

class MainWindow final : public SetupWindow {
public:
    explicit MainWindow(SetupRun& run);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    Answer messageBox(const char* text, const char* caption, Icon, Buttons) override;
    void setStatusText(const char* text) override;
    void processOneEvent() override;
    bool askPassword(char* entry, int* length) override;

    // 1 after a failed extraction, 2 after Close.
    int showMainWindow() override;
    void setButtonCaption(MainButton, const char* caption) override;
    void enableButtons(bool enabled) override;
    void removeInstallButton() override;
    void bringToForeground() override;
    void closeWindow(int result) override;
    bool askLicence(const char* licenceText) override;
    void serviceEvents() override;

    // The handlers of the window's events.
    void installPressed();
    void closePressed();
    void opened();
    void rejectedBySystem();

private:
    SetupRun& run_;
    QDialog dialog_;
    QPushButton* install_;
    QPushButton* close_;
    QLabel* text_;
    int result_ = 0;                 // set when one of our commands closes the window
    bool ignoredRejection_ = false;  // the system closed it during the install sequence
};

}  // namespace setup
