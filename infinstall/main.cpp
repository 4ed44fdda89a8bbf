// infinstall: runs a section of an INF file, in place of the INF installers a setup calls.
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <iostream>

#include "infinstall/core/elevation.h"
#include "infinstall/core/installer_run.h"
#include "infinstall/core/paths.h"
#include "infinstall/core/posix_file_system.h"
#include "infinstall/core/runtime_check.h"
#include "desktop/no_display.h"
#include "desktop/trusted_qt_sources.h"
#include "infinstall/dialogs/german_qt_texts.h"
#include "infinstall/dialogs/qt_installer_ui.h"

namespace {

using namespace infinstall;

std::string commandAsked(const std::vector<std::string>& args)
{
    std::string command = "infinstall";
    for (const std::string& arg : args)
        command += " " + arg;
    return command;
}

// Run through pkexec, an administrator agreed to what a system-wide installation's menu entry
// asks for: the kept INF's own calls of the kept infinstall. Anything else is refused before
// it is looked at any further.
std::string pkexecRefusal(const std::optional<Invocation>& call, const std::optional<InfFile>& inf,
                          const std::vector<std::string>& args)
{
    std::string error;
    const std::optional<Places> places = placesFor(
        true, [](const char* name) { return std::getenv(name); }, error);
    const bool kept = call && tidyFolder(folderOf(call->infPath)) == kSystemInfFolder;
    const std::vector<Invocation> allowed =
        kept && inf && places ? menuCalls(*inf, *places) : std::vector<Invocation>();
    if (call && isOneOf(*call, allowed))
        return {};
    return onlyMenuCallsText(call ? keptInstallerCommand(*call) : commandAsked(args), allowed);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const std::optional<Invocation> call = parseInvocation(args, error);
    // Run as root, for the whole system: no path another user can change is followed. The INF
    // and its sources are read through their folder, held open from here on.
    const bool root = geteuid() == 0;
    const bool throughPkexec = root && std::getenv("PKEXEC_UID");
    PosixFileSystem files(root);
    std::optional<InfFile> inf;
    // Through pkexec only the kept folder is read at all.
    const bool readable = call && (!throughPkexec || tidyFolder(folderOf(call->infPath)) == kSystemInfFolder);
    if (readable && files.holdSources(folderOf(call->infPath), error))
        inf = readInf(*call, files, error);
    else if (readable)
        error = "Das Installationspaket in " + folderOf(call->infPath) +
                " kann nicht sicher gelesen werden:\n" + error;
    const std::string refusal = throughPkexec ? pkexecRefusal(call, inf, args) : std::string();
    if (!refusal.empty()) {
        error = refusal;
        inf.reset();
    }
    // A section with nothing in it, such as the one a setup runs after the installation, needs
    // no window and no display.
    if (inf && sectionIsEmpty(*call, *inf))
        return kDone;
    // Without a display the message on standard error is all there is to say.
    if (!inf && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::cerr << "infinstall: " << error << std::endl;
        return kFailed;
    }

    kv::trustOnlyQtSourcesOthersCannotChange();
    kv::endQuietlyWithoutDisplay("infinstall");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("infinstall"));
    useGermanQtTexts();

    QtInstallerUi ui;
    if (!call || !refusal.empty()) {
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
    if (files.kind(places->polkitActions) != PathKind::Folder)
        places->polkitActions.clear();
    // A system-wide installation's INF: an administrator must agree before anything is asked,
    // and may be asked only for what its menu entries do.
    if (needsAdministrator(*call, root)) {
        Places systemPlaces = *places;
        if (std::optional<Places> system = placesFor(
                true, [](const char* name) { return std::getenv(name); }, placesError))
            systemPlaces = *system;
        if (isOneOf(*call, menuCalls(*inf, systemPlaces)))
            if (const std::optional<int> code = runAsAdministrator(*call))
                return *code;
        const RunSummary summary = summarise(*call, *inf, *places);
        ui.tell(summary.product, administratorOnlyText(summary.product, summary.removes, *call), true);
        return kFailed;
    }
    RunContext context{*places, files, ui, loadLibrary};
    return runInstaller(*call, *inf, context);
}
