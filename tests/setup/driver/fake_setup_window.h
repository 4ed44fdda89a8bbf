#pragma once
// A SetupWindow that writes every call into one log, so tests can check the order in which the
// driver does things, and answers the licence page and boxes from a script.
#include <functional>
#include <string>
#include <vector>

#include "setup/driver/setup_window.h"

namespace setup::testing {

class FakeSetupWindow final : public SetupWindow {
public:
    bool agreeToLicence = true;
    Answer boxAnswer = Answer::Ok;
    // Runs on each serviceEvents call: the events a user makes while the installer works.
    std::function<void()> onServiceEvents;

    std::vector<std::string> log;
    int closedWith = 0;  // 0: never closed
    int closeCount = 0;

    Answer messageBox(const char* text, const char* caption, Icon icon, Buttons) override
    {
        log.push_back(std::string(icon == Icon::Stop ? "stop " : "info ") + text + " / " + caption);
        return boxAnswer;
    }
    void setStatusText(const char* text) override { log.push_back(std::string("text ") + text); }
    void processOneEvent() override { log.push_back("event"); }
    bool askPassword(char*, int*) override
    {
        log.push_back("password");
        return false;
    }
    int showMainWindow() override
    {
        log.push_back("show");
        return closedWith;
    }
    void setButtonCaption(MainButton button, const char* caption) override
    {
        log.push_back(std::string(button == MainButton::Install ? "install " : "close ") + caption);
    }
    void enableButtons(bool enabled) override { log.push_back(enabled ? "enable" : "disable"); }
    void removeInstallButton() override { log.push_back("remove install"); }
    void bringToForeground() override { log.push_back("foreground"); }
    void closeWindow(int result) override
    {
        log.push_back("closed " + std::to_string(result));
        closedWith = result;
        ++closeCount;
    }
    bool askLicence(const char* text) override
    {
        log.push_back(std::string("licence ") + text);
        return agreeToLicence;
    }
    void serviceEvents() override
    {
        log.push_back("service");
        if (onServiceEvents)
            onServiceEvents();
    }

    // The log entries that start with `prefix`, in order.
    std::vector<std::string> entries(const std::string& prefix) const
    {
        std::vector<std::string> found;
        for (const std::string& entry : log)
            if (entry.rfind(prefix, 0) == 0)
                found.push_back(entry);
        return found;
    }
    // Position of the first entry equal to `entry`, or -1.
    int indexOf(const std::string& entry) const
    {
        for (size_t i = 0; i < log.size(); ++i)
            if (log[i] == entry)
                return static_cast<int>(i);
        return -1;
    }
};

}  // namespace setup::testing
