#pragma once
// Dialogs that open centred on the screen, frame included. Qt's own placement guesses a frame
// before the window manager has told it one (and guesses one where there is none); placing the
// window again once its size is final, before it is mapped, puts it where it belongs at once.
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace infinstall {

inline void centreOnScreen(QWidget* window)
{
    const QSize outer = window->frameGeometry().size();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    window->move(screen.x() + (screen.width() - outer.width()) / 2,
                 screen.y() + (screen.height() - outer.height()) / 2);
}

// `Dialog` (QMessageBox, QProgressDialog, ...) centred whenever it is shown.
template <typename Dialog>
class Centred : public Dialog {
public:
    using Dialog::Dialog;

protected:
    // Sent after the dialog has laid itself out and before its window is mapped.
    void showEvent(QShowEvent* event) override
    {
        Dialog::showEvent(event);
        centreOnScreen(this);
    }
};

}  // namespace infinstall
