#include "infinstall/core/installer_run.h"

#include "infinstall/core/folder_check.h"
#include "infinstall/core/paths.h"
#include "infinstall/core/runtime_check.h"

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
    for (const std::string& item : items)
        out += (out.empty() ? "" : ", ") + item;
    return out;
}

class Run {
public:
    Run(const Invocation& call, const InfFile& inf, RunContext& context)
        : call_(call), inf_(inf), context_(context)
    {
    }

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
        const Registry registry = readRegistry();
        const PlanBuilder builder(inf_, context_.places, registry, &context_.files);
        if (const std::string problem = builder.versionProblem(); !problem.empty()) {
            context_.ui.tell(title_, problem, true);
            return kFailed;
        }
        const InfSection& section = builder.section(call_.section);
        const SectionQuestions questions = builder.questions(section);
        if (questions.beginPrompt && !questions.beginPrompt->title.empty())
            title_ = questions.beginPrompt->title;
        // Every fault of the INF shows before the first question: a plan with stand-in folders.
        // A section that asks for no folder has none to stand in for: that plan is its plan.
        std::map<int, std::string> folders;
        for (const DestinationQuestion& q : questions.destinations)
            folders[q.dirid] = "/infinstall-check";
        InstallPlan plan = builder.plan(section, folders);

        if (questions.beginPrompt && !context_.ui.ask(*questions.beginPrompt))
            return kCancelled;
        for (const DestinationQuestion& q : questions.destinations) {
            const std::optional<std::string> folder = destination(q);
            if (!folder)
                return failedOrCancelled_;
            folders[q.dirid] = *folder;
        }
        if (!questions.destinations.empty())
            plan = builder.plan(section, folders);
        if (const int refused = checkRuntime(plan); refused != kDone)
            return refused;

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
        if (questions.endPrompt)
            context_.ui.tell(questions.endPrompt->title, questions.endPrompt->text, false);
        else if (!plan.copies.empty())
            context_.ui.tell(title_, installedText(plan, folders), false);
        return kDone;
    }

    // Where the installation went and where to find it.
    std::string installedText(const InstallPlan& plan, const std::map<int, std::string>& folders) const
    {
        std::string text = title_ + " ist jetzt installiert.";
        for (const auto& [dirid, folder] : folders)
            text += "\n\nOrdner: " + folder;
        if (!plan.programName.empty())
            text += "\n\nSie starten es im Anwendungsmenü " +
                    std::string(plan.inGames ? "unter „Spiele“ " : "") + "mit „" + plan.programName + "“.";
        return text;
    }

    Registry readRegistry()
    {
        std::string text, ignored;
        if (context_.files.kind(context_.places.registry) == PathKind::File)
            context_.files.readFile(context_.places.registry, text, ignored);
        return Registry::fromText(text);
    }

    // The folder for one CustomDestination line; nothing when cancelled or impossible. Every
    // folder passes the prompt's checks, also one that is not asked for: the recorded one, a
    // default from the INF.
    std::optional<std::string> destination(const DestinationQuestion& q)
    {
        const bool offerRecorded = (q.flags & kOfferRecordedFolder) && q.recordedFolder;
        const auto problem = [this](const std::string& folder) {
            return folderProblem(folder, context_.files);
        };
        if (!(q.flags & kAskForFolder)) {
            failedOrCancelled_ = kFailed;
            if (!offerRecorded && q.defaultFolder.empty()) {
                context_.ui.tell(title_,
                                 "Es ist keine Installation verzeichnet, die hier entfernt oder "
                                 "geändert werden könnte.",
                                 true);
                return std::nullopt;
            }
            const std::string folder = offerRecorded ? *q.recordedFolder : q.defaultFolder;
            if (const std::string why = problem(folder); !why.empty()) {
                context_.ui.tell(title_,
                                 "Der Ordner " + folder + " kann hier nicht verwendet werden:\n" + why +
                                     "\n\nEs wurde nichts verändert.",
                                 true);
                return std::nullopt;
            }
            return tidyFolder(folder);
        }
        std::string initial = offerRecorded ? *q.recordedFolder : tidyFolder(q.defaultFolder);
        while (true) {
            const std::optional<std::string> chosen =
                context_.ui.chooseFolder(title_, q.prompt, initial, problem);
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
        const RuntimeReport report =
            infinstall::checkRuntime(plan.copies, context_.files, context_.loadLibrary);
        if (!report.programPackages.empty()) {
            context_.ui.tell(title_,
                             "Das Programm kann auf diesem Rechner nicht starten. Es fehlen die "
                             "Debian-Pakete:\n" +
                                 packageLines(report.programPackages) +
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
    const InfFile& inf_;
    RunContext& context_;
    std::string title_ = "infinstall";
    int failedOrCancelled_ = kCancelled;
};

}  // namespace

std::optional<InfFile> readInf(const Invocation& call, FileSystem& files, std::string& error)
{
    std::string bytes, reason;
    if (!files.readFile(call.infPath, bytes, reason)) {
        error = call.infPath + ": Die Datei kann nicht gelesen werden: " + reason;
        return std::nullopt;
    }
    try {
        return InfFile::parse(call.infPath, bytes);
    } catch (const InfError& e) {
        error = e.what();
        return std::nullopt;
    }
}

int runInstaller(const Invocation& call, const InfFile& inf, RunContext& context)
{
    return Run(call, inf, context)();
}

RunSummary summarise(const Invocation& call, const InfFile& inf, const Places& places)
{
    RunSummary summary;
    try {
        const Registry none;
        const PlanBuilder builder(inf, places, none);
        const InfSection& section = builder.section(call.section);
        const SectionQuestions questions = builder.questions(section);
        if (questions.beginPrompt && !questions.beginPrompt->title.empty())
            summary.product = questions.beginPrompt->title;
        for (const InfLine& line : section.lines)
            summary.removes = summary.removes && !equalsIgnoringCase(line.key, "CopyFiles");
    } catch (const InfError&) {
        // The run itself reports the fault.
    }
    return summary;
}

bool sectionIsEmpty(const Invocation& call, const InfFile& inf)
{
    const InfSection* section = inf.section(call.section);
    return section && section->lines.empty();
}

}  // namespace infinstall
