#include "core/elevation.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

#include "core/folder_check.h"
#include "core/places.h"

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

std::string shellWord(const std::string& word)
{
    if (word.find_first_of(" \t\n'\"\\$`*?[]#~=%;&|<>(){}!") == std::string::npos && !word.empty()) return word;
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

bool needsAdministrator(const Invocation& call, bool root)
{
    return !root && tidyFolder(folderOf(call.infPath)) == kSystemInfFolder;
}

std::optional<int> runAsAdministrator(const std::vector<std::string>& args)
{
    std::vector<std::string> words = {"pkexec", keptInstaller()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "pkexec", nullptr, nullptr, argv.data(), environ) != 0) return std::nullopt;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return std::nullopt;
    if (!WIFEXITED(status)) return std::nullopt;
    const int code = WEXITSTATUS(status);
    if (code == kDismissed || code == kNotAuthorized) return std::nullopt;
    return code;
}

std::string administratorOnlyText(const std::string& product, bool removes,
                                  const std::vector<std::string>& args)
{
    std::string command = "sudo " + keptInstaller();
    for (const std::string& arg : args) command += " " + shellWord(arg);
    return product + " ist für alle Benutzer dieses Rechners installiert. Nur ein Administrator kann " +
           product + (removes ? " entfernen." : " ändern.") +
           "\n\nDie Anmeldung als Administrator ist nicht gelungen oder hier nicht möglich. Ein "
           "Administrator kann es mit diesem Befehl tun:\n\n    " + command +
           "\n\nEs wurde nichts verändert.";
}

}  // namespace infinstall
