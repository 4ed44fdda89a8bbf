#pragma once
// The installer's questions and messages as Qt dialogs, German, each centred on the screen.
#include "infinstall/core/installer_ui.h"

namespace infinstall {

class QtInstallerUi : public InstallerUi {
public:
    bool ask(const Prompt& prompt) override;
    bool confirm(const std::string& title, const std::string& text, const std::string& accept) override;
    void tell(const std::string& title, const std::string& text, bool isError) override;
    std::optional<std::string>
    chooseFolder(const std::string& title, const std::string& prompt, const std::string& initial,
                 const std::function<std::string(const std::string&)>& problem) override;
    bool runWithProgress(const std::string& title, const std::string& what,
                         const std::function<bool(ProgressSink&, std::string&)>& work,
                         std::string& error) override;
};

}  // namespace infinstall
