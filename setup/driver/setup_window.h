#pragma once
// The main window as the driver sees it: the core's user interface plus the
// few things the install sequence and the buttons do to the window itself.
#include "setup/driver/setup_ui.h"

namespace setup {

enum class MainButton { Install, Close };

class SetupWindow : public SetupUi {
public:
    // Opens the window and runs it modally until it is closed; returns the
    // result closeWindow was given.
    virtual int showMainWindow() = 0;
    virtual void setButtonCaption(MainButton, const char* caption) = 0;
    virtual void enableButtons(bool enabled) = 0;
    virtual void removeInstallButton() = 0;
    virtual void bringToForeground() = 0;
    // Ends the window's modal run; showMainWindow returns `result`.
    virtual void closeWindow(int result) = 0;
    // The licence page; true only for "Ich stimme zu".
    virtual bool askLicence(const char* licenceText) = 0;
    // Lets every pending window event run, while the installer works.
    virtual void serviceEvents() = 0;

protected:
    ~SetupWindow() = default;
};

}  // namespace setup
