#pragma once
// A SetupUi that records everything shown and answers from scripts.
// Include with "${PROJECT_SOURCE_DIR}/tests" on the include path:
//   #include "setup/support/fake_setup_ui.h"
#include <cstring>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "setup/driver/setup_ui.h"

namespace setup::testing {

struct ShownMessage {
    std::string text;
    std::string caption;
    Icon icon;
    Buttons buttons;
};

class FakeSetupUi final : public SetupUi {
public:
    // Answers to OK/Cancel boxes, taken in order; Ok once the script runs out.
    std::deque<Answer> answers;
    // Called for every box before it is answered (e.g. to supply a volume).
    std::function<void(const ShownMessage&)> onMessage;
    // Called for every window event the core lets through, with its number (1, 2, ...): the
    // moments between two entries, or between two deletions.
    std::function<void(int)> onEvent;
    // Password dialog script: a text means OK with it, nullopt means Cancel.
    // An exhausted script cancels.
    std::deque<std::optional<std::string>> passwords;

    std::vector<ShownMessage> messages;
    std::vector<std::string> statusTexts;
    int eventsProcessed = 0;
    int passwordPrompts = 0;

    Answer messageBox(const char* text, const char* caption, Icon icon, Buttons buttons) override
    {
        messages.push_back({text, caption, icon, buttons});
        if (onMessage)
            onMessage(messages.back());
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        if (answers.empty())
            return Answer::Ok;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void setStatusText(const char* text) override { statusTexts.emplace_back(text); }
    void processOneEvent() override
    {
        ++eventsProcessed;
        if (onEvent)
            onEvent(eventsProcessed);
    }

    bool askPassword(char* entry, int* length) override
    {
        ++passwordPrompts;
        if (passwords.empty() || !passwords.front()) {
            if (!passwords.empty())
                passwords.pop_front();
            return false;
        }
        const std::string entered = passwords.front()->substr(0, kPasswordEntrySize - 1);
        passwords.pop_front();
        std::memcpy(entry, entered.c_str(), entered.size() + 1);
        *length = static_cast<int>(entered.size());
        return true;
    }

    // The "text / caption" pairs of every box, for compact assertions.
    std::vector<std::string> shown() const
    {
        std::vector<std::string> result;
        for (const ShownMessage& m : messages)
            result.push_back(m.text + " / " + m.caption);
        return result;
    }
};

}  // namespace setup::testing
