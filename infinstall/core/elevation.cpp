#include "infinstall/core/elevation.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <map>

#include "infinstall/core/install_plan.h"
#include "infinstall/core/paths.h"
#include "infinstall/core/registry.h"

extern char** environ;

namespace infinstall {
namespace {

// pkexec's own answers: 126 the dialog was dismissed, 127 no authorization could be had.
constexpr int kDismissed = 126;
constexpr int kNotAuthorized = 127;

std::string keptInstaller()
{
    return std::string(kSystemInfFolder) + "/infinstall";
}

// `path` from "/", or "" when it climbs with "..", which no comparison should have to follow.
std::string absolute(const std::string& path)
{
    std::string full = path;
    if (full.empty() || full.front() != '/') {
        char current[PATH_MAX];
        if (!getcwd(current, sizeof current))
            return {};
        full = std::string(current) + "/" + path;
    }
    for (const std::string& part : pathParts(full))
        if (part == "..")
            return {};
    return tidyFolder(full);
}

std::vector<std::string> argumentsOf(const Invocation& call)
{
    const std::string inf = absolute(call.infPath).empty() ? call.infPath : absolute(call.infPath);
    if (call.advanced)
        return {"advpack,LaunchINFSection", inf + "," + call.section};
    return {"setupapi,InstallHinfSection", call.section, "132", inf};
}

std::string shellWord(const std::string& word)
{
    if (word.find_first_of(" \t\n'\"\\$`*?[]#~=%;&|<>(){}!") == std::string::npos && !word.empty())
        return word;
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

bool needsAdministrator(const Invocation& call, bool root)
{
    return !root && tidyFolder(folderOf(call.infPath)) == kSystemInfFolder;
}

std::vector<Invocation> menuCalls(const InfFile& inf, const Places& places)
{
    std::vector<Invocation> calls;
    const Registry none;
    const PlanBuilder builder(inf, places, none);
    for (const InfSection& section : inf.sections()) {
        try {
            // Only the kept folder matters here; any chosen folder stands in for the others.
            std::map<int, std::string> folders;
            for (const DestinationQuestion& question : builder.questions(section).destinations)
                folders[question.dirid] = places.programs;
            for (const std::vector<std::string>& command : builder.plan(section, folders).programCommands) {
                if (command.front() != places.infFolder + "/infinstall")
                    continue;
                std::string error;
                const std::vector<std::string> args(command.begin() + 1, command.end());
                const std::optional<Invocation> call = parseInvocation(args, error);
                if (call && !isOneOf(*call, calls))
                    calls.push_back(*call);
            }
        } catch (const InfError&) {
            // Not a section that installs anything: [Strings], a file list.
        }
    }
    return calls;
}

bool isOneOf(const Invocation& call, const std::vector<Invocation>& allowed)
{
    const std::string inf = absolute(call.infPath);
    for (const Invocation& other : allowed)
        if (call.advanced == other.advanced && !inf.empty() && inf == absolute(other.infPath) &&
            equalsIgnoringCase(call.section, other.section))
            return true;
    return false;
}

std::string keptInstallerCommand(const Invocation& call)
{
    std::string command = keptInstaller();
    for (const std::string& arg : argumentsOf(call))
        command += " " + shellWord(arg);
    return command;
}

std::optional<int> runAsAdministrator(const Invocation& call)
{
    std::vector<std::string> words = {"pkexec", keptInstaller()};
    for (const std::string& arg : argumentsOf(call))
        words.push_back(arg);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "pkexec", nullptr, nullptr, argv.data(), environ) != 0)
        return std::nullopt;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return std::nullopt;
    if (!WIFEXITED(status))
        return std::nullopt;
    const int code = WEXITSTATUS(status);
    if (code == kDismissed || code == kNotAuthorized)
        return std::nullopt;
    return code;
}

std::string administratorOnlyText(const std::string& product, bool removes, const Invocation& call)
{
    return product + " ist für alle Benutzer dieses Rechners installiert. Nur ein Administrator kann " +
           product + (removes ? " entfernen." : " ändern.") +
           "\n\nDie Anmeldung als Administrator ist nicht gelungen oder hier nicht möglich. Ein "
           "Administrator kann es mit diesem Befehl tun:\n\n    sudo " +
           keptInstallerCommand(call) + "\n\nEs wurde nichts verändert.";
}

std::string onlyMenuCallsText(const std::string& asked, const std::vector<Invocation>& allowed)
{
    std::string text = "Mit dem Passwort eines Administrators führt infinstall nur aus, was der "
                       "Menüeintrag einer Installation für alle Benutzer verlangt";
    if (allowed.empty()) {
        text += "; für diese Installationsdatei ist das nichts.";
    } else {
        text += ":\n";
        for (const Invocation& call : allowed)
            text += "\n    " + keptInstallerCommand(call);
    }
    return text + "\n\nVerlangt wurde:\n\n    " + asked + "\n\nEs wurde nichts verändert.";
}

}  // namespace infinstall
