#pragma once
// What the installer asks and tells the person in front of it. The dialogs implement it.
#include <functional>
#include <optional>
#include <string>

#include "infinstall/core/install_plan.h"
#include "infinstall/core/installation.h"

namespace infinstall {

class InstallerUi {
public:
    virtual ~InstallerUi() = default;
    // OK / Cancel (or Yes / No): true for OK or Yes.
    virtual bool ask(const Prompt& prompt) = 0;
    // A warning with `accept` and Cancel: true for `accept`.
    virtual bool confirm(const std::string& title, const std::string& text, const std::string& accept) = 0;
    virtual void tell(const std::string& title, const std::string& text, bool isError) = 0;
    // The folder prompt, starting with `initial`. A folder for which `problem` gives a text is
    // not taken: the text is shown and the prompt asks again. Nothing on Cancel.
    virtual std::optional<std::string>
    chooseFolder(const std::string& title, const std::string& prompt, const std::string& initial,
                 const std::function<std::string(const std::string&)>& problem) = 0;
    // Runs `work` while showing its progress under `what` ("Dateien werden kopiert"). `work`
    // may run on another thread; it gets a sink whose cancelled() tells whether the person
    // asked to stop.
    virtual bool runWithProgress(const std::string& title, const std::string& what,
                                 const std::function<bool(ProgressSink&, std::string&)>& work,
                                 std::string& error) = 0;
};

}  // namespace infinstall
