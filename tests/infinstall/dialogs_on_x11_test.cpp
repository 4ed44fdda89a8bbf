// Every dialog of infinstall on a real X server (Xvfb): opened through the same calls the
// installer makes, looked at on a capture of the whole screen (Xvfb's framebuffer file),
// answered by keyboard. Checks: centred, drawn with text, labels as wide as their text, the
// access keys and Enter/Escape give the answer the installer expects.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/support/window_look.h"
#include "tests/support/x_server.h"
#include "infinstall/dialogs/german_qt_texts.h"
#include "infinstall/dialogs/qt_installer_ui.h"
#include "tests/support/xwd_image.h"

namespace infinstall {
namespace {

namespace fs = std::filesystem;

const kv::x11test::XvfbServer* server = nullptr;

// The window is on the screen where Qt says, drawn (mostly one face colour, with dark text),
// and the screen around it stays black.
bool drawnOnScreen(QWidget* window)
{
    const kv::x11test::XwdImage image = server->screenshot();
    const QRect r = window->frameGeometry();
    return kv::x11test::drawnWithText(image, {r.x(), r.y(), r.width(), r.height()}) &&
           image.at(r.left() - 5, r.top() - 5) == kv::x11test::Rgb{};
}

void expectCentredAndFitting(QWidget* window)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = window->frameGeometry();
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1) << window->windowTitle().toStdString();
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1) << window->windowTitle().toStdString();
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty() || label->wordWrap())
            continue;
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    }
}

// Calls `action` once `ready` holds, looking every 20 ms from whatever event loop runs then
// (the dialogs' own), never from a loop of its own, so that dialogs opening inside `action`
// do not stop the looking. Gives up after a generous bound and closes the dialog in the way.
void whenReady(std::function<bool()> ready, std::function<void()> action, std::string what)
{
    auto* timer = new QTimer;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [=] {
        const bool now = ready();
        if (!now && std::chrono::steady_clock::now() < deadline)
            return;
        timer->stop();
        timer->deleteLater();
        if (now) {
            action();
            return;
        }
        ADD_FAILURE() << "waited in vain for " << what;
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    timer->start();
}

// Types a key into `window` once it is the modal window and has the keyboard.
void pressOn(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    whenReady([window] { return QApplication::activeModalWidget() == window; },
              [=] {
                  window->activateWindow();
                  whenReady([window] { return window->isActiveWindow(); },
                            [=] { QTest::keyClick(window, key, modifiers); }, "the keyboard");
              },
              "the window to be modal");
}

// Runs `act` on the next modal dialog (other than `besides`) once it is on the screen, has
// been checked there and has the keyboard.
void onNextDialog(std::function<void(QWidget*)> act, QWidget* besides = nullptr)
{
    whenReady(
        [besides] {
            QWidget* dialog = QApplication::activeModalWidget();
            return dialog && dialog != besides && dialog->isVisible() && drawnOnScreen(dialog);
        },
        [act] {
            QWidget* dialog = QApplication::activeModalWidget();
            expectCentredAndFitting(dialog);
            dialog->activateWindow();
            whenReady([dialog] { return dialog->isActiveWindow(); }, [=] { act(dialog); }, "the keyboard");
        },
        "a dialog on the screen");
}

QAbstractButton* buttonWithText(QWidget* window, const QString& text)
{
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

TEST(InfinstallDialogs, MessagesAndQuestionsAnsweredByKeyboard)
{
    QtInstallerUi ui;
    QString seen;
    onNextDialog([&](QWidget* box) {
        seen = box->findChildren<QLabel*>().back()->text();
        EXPECT_TRUE(buttonWithText(box, "OK"));
        QTest::keyClick(box, Qt::Key_Return);
    });
    ui.tell("KARVELO", "Kann /opt/KARVELO/kv5 nicht schreiben: Kein Speicherplatz", true);
    EXPECT_EQ(seen, "Kann /opt/KARVELO/kv5 nicht schreiben: Kein Speicherplatz");

    onNextDialog([](QWidget* box) {
        EXPECT_TRUE(buttonWithText(box, "&Ja") && buttonWithText(box, "&Nein"));
        QTest::keyClick(box, Qt::Key_N, Qt::AltModifier);
    });
    EXPECT_FALSE(ui.ask({"KARVELO", "Möchten Sie fortfahren?", true}));
    onNextDialog([](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_TRUE(ui.ask({"KARVELO", "Möchten Sie fortfahren?", false}));

    // The missing sound libraries: the access key continues, Escape cancels.
    const std::string missing = "Das Modul libkv5-sound.so lässt sich hier nicht laden.";
    onNextDialog([](QWidget* box) { QTest::keyClick(box, Qt::Key_T, Qt::AltModifier); });
    EXPECT_TRUE(ui.confirm("KARVELO", missing, "Ohne &Ton fortfahren"));
    onNextDialog([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_FALSE(ui.confirm("KARVELO", missing, "Ohne &Ton fortfahren"));
}

TEST(InfinstallDialogs, FolderPromptRefusesAFolderItCannotWriteAndOffersTheChooser)
{
    QtInstallerUi ui;
    const std::string writable = fs::temp_directory_path().string();
    bool refusalShown = false, chooserShown = false;
    onNextDialog([&](QWidget* prompt) {
        auto* edit = prompt->findChild<QLineEdit*>();
        ASSERT_TRUE(edit);
        EXPECT_EQ(edit->text(), "/opt/KARVELO");
        EXPECT_TRUE(edit->hasFocus());
        // /proc takes no folders, not even from root: the refusal, then the prompt again.
        edit->setText("/proc/KARVELO");
        onNextDialog(
            [&, prompt, edit](QWidget* refusal) {
                refusalShown = refusal->findChildren<QLabel*>().back()->text().contains("/proc");
                QTest::keyClick(refusal, Qt::Key_Return);
                whenReady([prompt] { return QApplication::activeModalWidget() == prompt; },
                          [&, prompt, edit] {
                              // Alt+D opens the folder chooser; Escape closes it; Enter takes the folder.
                              edit->setText(QString::fromStdString(writable));
                              onNextDialog(
                                  [&, prompt](QWidget* chooser) {
                                      chooserShown = qobject_cast<QFileDialog*>(chooser) != nullptr;
                                      // Qt's own texts in German: none of the English ones is left.
                                      QStringList texts;
                                      for (const QLabel* label : chooser->findChildren<QLabel*>())
                                          texts << label->text();
                                      for (const QAbstractButton* button :
                                           chooser->findChildren<QAbstractButton*>())
                                          texts << button->text();
                                      for (const char* english :
                                           {"Look in:", "Directory:", "Files of type:", "&Choose", "Cancel"})
                                          EXPECT_FALSE(texts.contains(QString::fromLatin1(english)))
                                              << english;
                                      EXPECT_TRUE(texts.contains(QStringLiteral("Abbrechen")))
                                          << texts.join('|').toStdString();
                                      QTest::keyClick(chooser, Qt::Key_Escape);
                                      pressOn(prompt, Qt::Key_Return);
                                  },
                                  prompt);
                              pressOn(prompt, Qt::Key_D, Qt::AltModifier);
                          },
                          "the prompt again");
            },
            prompt);
        QTest::keyClick(prompt, Qt::Key_Return);
    });
    const auto chosen =
        ui.chooseFolder("KARVELO", "In welchem Verzeichnis möchten Sie KARVELO installieren ?",
                        "/opt/KARVELO", [](const std::string& f) {
                            return f.rfind("/proc", 0) == 0
                                       ? std::string("Sie dürfen in /proc nicht schreiben.")
                                       : std::string();
                        });
    EXPECT_TRUE(refusalShown);
    EXPECT_TRUE(chooserShown);
    EXPECT_EQ(chosen, writable);
}

// Root, started through pkexec for a player, shows the prompt without the chooser, whose menu
// could delete and rename folders anywhere; Alt+D opens nothing.
TEST(InfinstallDialogs, FolderPromptOffersNoChooserToAPkexecCaller)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root's prompt leaves the chooser out";
    setenv("PKEXEC_UID", "4242", 1);
    QtInstallerUi ui;
    bool browseHidden = false;
    onNextDialog([&](QWidget* prompt) {
        browseHidden = true;
        for (const QPushButton* button : prompt->findChildren<QPushButton*>())
            browseHidden = browseHidden && (button->text() != QStringLiteral("…") || !button->isVisible());
        pressOn(prompt, Qt::Key_D, Qt::AltModifier);
        // Had a chooser opened, it would be the modal widget now and the Return below its.
        whenReady([prompt] { return QApplication::activeModalWidget() == prompt; },
                  [prompt] { pressOn(prompt, Qt::Key_Return); }, "the prompt, no chooser");
    });
    const auto chosen = ui.chooseFolder("KARVELO", "Zielordner", "/opt/KARVELO",
                                        [](const std::string&) { return std::string(); });
    unsetenv("PKEXEC_UID");
    EXPECT_TRUE(browseHidden);
    EXPECT_EQ(chosen, "/opt/KARVELO");
}

// Holds the work open until the test lets it go.
class Gate {
public:
    void open() { open_ = true; }
    bool wait(ProgressSink& sink)
    {
        for (int i = 0; i < 30000 && !open_; ++i)
            usleep(1000);
        return !sink.cancelled();
    }

private:
    std::atomic<bool> open_{false};
};

TEST(InfinstallDialogs, ProgressWhileCopyingAndItsCancel)
{
    QtInstallerUi ui;
    Gate gate;
    std::string error;
    onNextDialog([&](QWidget* dialog) {
        whenReady([dialog] { return dialog->findChild<QLabel*>()->text().contains("kv5"); },
                  [&, dialog] {
                      QTest::keyClick(dialog, Qt::Key_Escape);
                      gate.open();
                  },
                  "the file's name");
    });
    const bool done = ui.runWithProgress(
        "KARVELO", "Dateien werden kopiert",
        [&](ProgressSink& sink, std::string& reason) {
            sink.advanced(1, 15, "/opt/KARVELO/kv5");
            if (gate.wait(sink))
                return true;
            reason = "Die Installation wurde abgebrochen.";
            return false;
        },
        error);
    EXPECT_FALSE(done);
    EXPECT_EQ(error, "Die Installation wurde abgebrochen.");
}

}  // namespace
}  // namespace infinstall

// A private Xvfb with its framebuffer in a file, started before the application connects.
int main(int argc, char** argv)
{
    using namespace infinstall;
    ::testing::InitGoogleTest(&argc, argv);
    const fs::path folder = fs::temp_directory_path() / ("infinstall-x11-" + std::to_string(getpid()));
    fs::create_directories(folder);
    int status = 0;
    {
        const kv::x11test::XvfbServer xvfb(folder);
        server = &xvfb;
        QApplication app(argc, argv);
        useGermanQtTexts();
        status = RUN_ALL_TESTS();
    }
    fs::remove_all(folder);
    return status;
}
