// infinstall: runs a section of an INF file, in place of the INF installers a setup calls.
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <iostream>

#include "core/elevation.h"
#include "core/folder_check.h"
#include "core/installer_run.h"
#include "core/runtime_check.h"
#include "dialogs/german_qt_texts.h"
#include "desktop/no_display.h"
#include "desktop/trusted_qt_sources.h"
#include "dialogs/qt_installer_ui.h"

int main(int argc, char** argv)
{
    using namespace infinstall;
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const std::optional<Invocation> call = parseInvocation(args, error);
    // Run as root, for the whole system: no path another user can change is followed. The INF
    // and its sources are read through their folder, held open from here on.
    const bool root = geteuid() == 0;
    PosixFileSystem files(root);
    std::optional<InfFile> inf;
    if (call && files.holdSources(folderOf(call->infPath), error)) inf = readInf(*call, files, error);
    else if (call) error = "Das Installationspaket in " + folderOf(call->infPath) +
                           " kann nicht sicher gelesen werden:\n" + error;
    // A section with nothing in it, such as the one a setup runs after the installation, needs
    // no window and no display.
    if (inf && sectionIsEmpty(*call, *inf)) return kDone;
    if (!call) {
        std::cerr << error << std::endl;
        // Without a display the message above is all there is to say.
        if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return kFailed;
    }

    kv::trustOnlyQtSourcesOthersCannotChange();
    kv::endQuietlyWithoutDisplay("infinstall");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("infinstall"));
    useGermanQtTexts();

    QtInstallerUi ui;
    if (!call) {
        ui.tell("infinstall", error, true);
        return kFailed;
    }
    if (!inf) {
        ui.tell("infinstall", error + "\n\nEs wurde nichts installiert.", true);
        return kFailed;
    }
    std::string placesError;
    std::optional<Places> places = placesFor(
        root, [](const char* name) { return std::getenv(name); }, placesError);
    if (!places) {
        ui.tell("infinstall", placesError, true);
        return kFailed;
    }
    // Without polkit there is nothing to register an action with.
    if (files.kind(places->polkitActions) != PathKind::Folder) places->polkitActions.clear();
    // A system-wide installation's INF: an administrator must agree before anything is asked.
    if (needsAdministrator(*call, root)) {
        if (const std::optional<int> code = runAsAdministrator(args)) return *code;
        const RunSummary summary = summarise(*call, *inf, *places);
        ui.tell(summary.product, administratorOnlyText(summary.product, summary.removes, args), true);
        return kFailed;
    }
    RunContext context{*places, files, ui, loadLibrary};
    return runInstaller(*call, *inf, context);
}
