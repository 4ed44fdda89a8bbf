#include "core/installer_run.h"

#include "core/folder_check.h"
#include "core/runtime_check.h"

namespace infinstall {
namespace {

std::string packageLines(const std::vector<std::string>& packages)
{
    std::string list, command = "sudo apt install";
    for (const std::string& p : packages) {
        list += "    " + p + "\n";
        command += " " + p;
    }
    return list + "\nSie installieren sie mit:\n    " + command + "\n";
}

std::string joined(const std::vector<std::string>& items)
{
    std::string out;
    for (const std::string& item : items) out += (out.empty() ? "" : ", ") + item;
    return out;
}

class Run {
public:
    Run(const Invocation& call, RunContext& context) : call_(call), context_(context) {}

    int operator()()
    {
        try {
            return run();
        } catch (const InfError& error) {
            context_.ui.tell(title_, std::string(error.what()) + "\n\nEs wurde nichts installiert.", true);
            return kFailed;
        }
    }

private:
    int run()
    {
        const InfFile inf = InfFile::read(call_.infPath);
        const Registry registry = readRegistry();
        const PlanBuilder builder(inf, context_.places, registry);
        if (const std::string problem = builder.versionProblem(); !problem.empty()) {
            context_.ui.tell(title_, problem, true);
            return kFailed;
        }
        const InfSection& section = builder.section(call_.section);
        const SectionQuestions questions = builder.questions(section);
        if (questions.beginPrompt && !questions.beginPrompt->title.empty())
            title_ = questions.beginPrompt->title;
        // Every fault of the INF shows before the first question: a plan with stand-in folders.
        std::map<int, std::string> folders;
        for (const DestinationQuestion& q : questions.destinations) folders[q.dirid] = "/infinstall-check";
        builder.plan(section, folders);

        if (questions.beginPrompt && !context_.ui.ask(*questions.beginPrompt)) return kCancelled;
        for (const DestinationQuestion& q : questions.destinations) {
            const std::optional<std::string> folder = destination(q);
            if (!folder) return failedOrCancelled_;
            folders[q.dirid] = *folder;
        }
        const InstallPlan plan = builder.plan(section, folders);
        if (const int refused = checkRuntime(plan); refused != kDone) return refused;

        std::string error;
        const bool done = context_.ui.runWithProgress(
            title_, plan.copies.empty() ? "Dateien werden entfernt" : "Dateien werden kopiert",
            [&](ProgressSink& progress, std::string& reason) {
                return carryOut(plan, context_.places.registry, context_.files, &progress, reason);
            },
            error);
        if (!done) {
            context_.ui.tell(title_, error + "\n\nEs wurde nichts verändert.", true);
            return kFailed;
        }
        if (questions.endPrompt) context_.ui.tell(questions.endPrompt->title, questions.endPrompt->text, false);
        return kDone;
    }

    Registry readRegistry()
    {
        std::string text, ignored;
        if (context_.files.kind(context_.places.registry) == PathKind::File)
            context_.files.readFile(context_.places.registry, text, ignored);
        return Registry::fromText(text);
    }

    // The folder for one CustomDestination line; nothing when cancelled or impossible.
    std::optional<std::string> destination(const DestinationQuestion& q)
    {
        const bool offerRecorded = (q.flags & kOfferRecordedFolder) && q.recordedFolder;
        if (!(q.flags & kAskForFolder)) {
            if (offerRecorded) return q.recordedFolder;
            if (!q.defaultFolder.empty()) return tidyFolder(q.defaultFolder);
            context_.ui.tell(title_, "Es ist keine Installation verzeichnet, die hier entfernt oder "
                                     "geändert werden könnte.", true);
            failedOrCancelled_ = kFailed;
            return std::nullopt;
        }
        std::string initial = offerRecorded ? *q.recordedFolder : tidyFolder(q.defaultFolder);
        while (true) {
            const std::optional<std::string> chosen =
                context_.ui.chooseFolder(title_, q.prompt, initial, folderProblem);
            if (!chosen) {
                failedOrCancelled_ = kCancelled;
                return std::nullopt;
            }
            const std::string folder = tidyFolder(*chosen);
            const bool overwrites = q.recordedFolder && tidyFolder(*q.recordedFolder) == folder;
            if (!overwrites || !(q.flags & kWarnBeforeOverwriting) || q.overwriteWarning.empty() ||
                context_.ui.confirm(title_, q.overwriteWarning, "OK"))
                return folder;
            initial = folder;
        }
    }

    int checkRuntime(const InstallPlan& plan)
    {
        const RuntimeReport report = infinstall::checkRuntime(plan.copies, context_.loadLibrary);
        if (!report.programPackages.empty()) {
            context_.ui.tell(title_,
                             "Das Programm kann auf diesem Rechner nicht starten. Es fehlen die "
                             "Debian-Pakete:\n" + packageLines(report.programPackages) +
                                 "\nBitte starten Sie die Installation danach noch einmal. Es "
                                 "wurde nichts installiert.",
                             true);
            return kFailed;
        }
        if (!report.modulePackages.empty() &&
            !context_.ui.confirm(title_,
                                 "Das Modul " + joined(report.modules) +
                                     " lässt sich hier nicht laden; ohne es bleibt das Spiel "
                                     "stumm. Es fehlen die Debian-Pakete:\n" +
                                     packageLines(report.modulePackages) +
                                     "\nSie können sie auch später installieren.",
                                 "Ohne &Ton fortfahren"))
            return kCancelled;
        return kDone;
    }

    const Invocation& call_;
    RunContext& context_;
    std::string title_ = "infinstall";
    int failedOrCancelled_ = kCancelled;
};

}  // namespace

int runInstaller(const Invocation& call, RunContext& context)
{
    return Run(call, context)();
}

bool sectionIsEmpty(const Invocation& call)
{
    try {
        const InfFile inf = InfFile::read(call.infPath);
        const InfSection* section = inf.section(call.section);
        return section && section->lines.empty();
    } catch (const InfError&) {
        return false;
    }
}

}  // namespace infinstall
