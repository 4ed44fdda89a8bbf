#include "tests/setup/program/modal_script.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace setup::testing {

constexpr int kTickMs = 10;
constexpr int kGiveUpTicks = 1500;  // 15 s: far beyond any run

ModalScript::ModalScript()
{
    QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    timer_.start(kTickMs);
}

ModalScript::~ModalScript()
{
    timer_.stop();
}

void ModalScript::look()
{
    if (++ticks_ > kGiveUpTicks) {
        // A run stuck in a modal window would hang the test program for good.
        std::fprintf(stderr, "modal script stuck before: %s%s\n",
                     steps_.empty() ? "(end)" : steps_.front().description.c_str(),
                     waitingForScreen_ ? " (the window never showed on the screen)" : "");
        std::abort();
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || steps_.empty() || !modal->isVisible())
        return;
    if (!steps_.front().recognises(modal))
        return;
    const bool seen = std::find(seenOnScreen_.begin(), seenOnScreen_.end(), modal) != seenOnScreen_.end();
    if (shownOnScreen && !seen) {
        if (!shownOnScreen(modal)) {
            waitingForScreen_ = true;
            return;
        }
        seenOnScreen_.push_back(modal);
    }
    waitingForScreen_ = false;
    Step step = std::move(steps_.front());
    steps_.pop_front();
    step.act(modal);
}

QAbstractButton* buttonWithText(QWidget* window, const QString& text)
{
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

QMessageBox* asMessageBox(QWidget* window)
{
    return qobject_cast<QMessageBox*>(window);
}

// Acting from a zero timer lets the look-out return first: whatever the click starts (the
// whole installation, say) runs its own event loops, in which the look-out goes on.
void clickLater(QAbstractButton* button)
{
    QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
}

void keyLater(QWidget* window, Qt::Key key)
{
    QPointer<QWidget> target = window->focusWidget() ? window->focusWidget() : window;
    QTimer::singleShot(0, window, [target, key] {
        if (target)
            QTest::keyClick(target, key);
    });
}

}  // namespace setup::testing
