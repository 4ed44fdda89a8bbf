#pragma once
// Plays a user in front of the setup's modal windows: a timer looks at the active modal
// widget, and when the next step recognises it, the step acts on it from the event loop.
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class QAbstractButton;
class QMessageBox;

namespace setup::testing {

struct Step {
    std::string description;
    std::function<bool(QWidget*)> recognises;
    std::function<void(QWidget*)> act;
};

// When set (the program runs on a real X server), the first step on a window acts only once this
// says the window shows on the screen. Later steps on the same window do not wait again: a state
// that passes while the screen is looked at (the installer running) must not be missed.
inline std::function<bool(QWidget*)> shownOnScreen;

class ModalScript {
public:
    ModalScript();
    ~ModalScript();

    void then(Step step) { steps_.push_back(std::move(step)); }
    // Steps left when the run ended: the script did not happen as written.
    std::deque<Step> remaining() const { return steps_; }

private:
    void look();

    QTimer timer_;
    std::deque<Step> steps_;
    int ticks_ = 0;
    bool waitingForScreen_ = false;
    std::vector<QPointer<QWidget>> seenOnScreen_;
};

// Helpers for steps.
QAbstractButton* buttonWithText(QWidget* window, const QString& text);
QMessageBox* asMessageBox(QWidget* window);
void clickLater(QAbstractButton* button);
void keyLater(QWidget* window, Qt::Key key);

}  // namespace setup::testing
