#pragma once
// Everything the setup's core asks of the user interface: the driver's seam
// to the dialogs, which implement it. The package and archive steps the
// driver runs report through it too; tests fake it.

namespace setup {

enum class Icon { Stop, Information };
enum class Buttons { Ok, OkCancel };
enum class Answer { Ok, Cancel };

// The password prompt takes up to 79 characters; in UTF-8 they need up to
// three bytes each (a character beyond the 16-bit plane counts as two).
constexpr int kLongestPassword = 79;
constexpr int kPasswordEntrySize = 3 * kLongestPassword + 1;

class SetupUi {
public:
    // All texts are UTF-8.
    virtual Answer messageBox(const char* text, const char* caption, Icon, Buttons) = 0;
    virtual void setStatusText(const char* text) = 0;  // the main window's text control (3002)
    virtual void processOneEvent() = 0;                // take one pending window event, dispatch it
    // DLG_PASS: false = Cancel. On OK the entered text, at most
    // kLongestPassword characters, terminated, in `entry` (kPasswordEntrySize
    // bytes) and its length in bytes.
    virtual bool askPassword(char* entry, int* length) = 0;

protected:
    // Never deleted through this interface; keeping the destructor out of the
    // vtable keeps the setup image small.
    ~SetupUi() = default;
};

// The failure convention: a stop box with a single OK button.
inline void reportFailure(SetupUi& ui, const char* text, const char* caption)
{
    ui.messageBox(text, caption, Icon::Stop, Buttons::Ok);
}
// A failure that is not about a particular file or folder.
inline void reportError(SetupUi& ui, const char* text)
{
    reportFailure(ui, text, "Fehler");
}

}  // namespace setup
