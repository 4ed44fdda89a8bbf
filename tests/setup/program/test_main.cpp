// The in-process runs need one QApplication for the whole test program. With
// KV_SETUP_DIALOGS_ON_X11 set they run on a private Xvfb, and every window a step acts on must
// first show on the screen (Xvfb's framebuffer): drawn, with its text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

#include "tests/setup/program/modal_script.h"
#include "tests/support/window_look.h"
#include "tests/support/x_server.h"

int main(int argc, char** argv)
{
    const bool onX11 = qEnvironmentVariableIsSet("KV_SETUP_DIALOGS_ON_X11");
    QTemporaryDir screenFolder;
    std::unique_ptr<kv::x11test::XvfbServer> server;
    if (onX11) {
        server = std::make_unique<kv::x11test::XvfbServer>(screenFolder.path().toStdString());
        setup::testing::shownOnScreen = [&server](QWidget* window) {
            const QRect r = window->frameGeometry();
            return kv::x11test::drawnWithText(server->screenshot(), {r.x(), r.y(), r.width(), r.height()});
        };
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int status = 0;
    {
        QApplication application(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        status = RUN_ALL_TESTS();
    }
    setup::testing::shownOnScreen = nullptr;
    return status;
}
