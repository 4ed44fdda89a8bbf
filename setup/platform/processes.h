#pragma once
// Starting the INF installer as a child process and waiting for it.
#include <stddef.h>

namespace setup {

struct ChildProcess {
    int pid = 0;
};

// Starts an INF-installer command line ("rundll32.exe advpack,LaunchINFSection ...",
// "rundll.exe setupx.dll,...", "rundll32.exe setupapi,..."): the rundll host named by the first
// word is replaced by the program `infinstall` (see findInstallerProgram); the rest of the line,
// split at blanks, becomes its arguments. It runs in the open `workFolder` (-1: in the current
// folder) with the environment inherited, a new session and no descriptor beyond 0, 1 and 2.
// `highPriority` asks for a raised priority (ignored where not permitted). Returns false when
// the program cannot be found or started.
bool startInstaller(const char* commandLine, int workFolder, bool highPriority, ChildProcess* child);

// Waits for the child to end. While it runs, `serviceEvents(context)` is called again and again
// with short sleeps between (never a busy loop); a null `serviceEvents` waits plainly. The
// child's exit status is not looked at.
void waitForChild(ChildProcess* child, void (*serviceEvents)(void*), void* context);

// The name that stands in for the rundll hosts.
constexpr const char kInstallerProgram[] = "infinstall";

// Finds `program`: the copy the package unpacked into the private, open `workFolder` (-1: none),
// when that is a regular file of the effective user, which is then made executable for its
// owner, written to `out` as "./" + `program` (relative to the work folder); otherwise an
// executable regular file in an absolute folder of $PATH (the system's default path when
// unset). Never one beside the setup's own file or in the current folder: run by root from a
// folder others can write to, a program planted there would run as root.
bool findInstallerProgram(const char* program, int workFolder, char* out, size_t size);

// Splits the part of `commandLine` after its first word at blanks into `args`, in place in
// `buffer`. Returns the number of arguments, or -1 when they do not fit.
int splitArguments(const char* commandLine, char* buffer, size_t bufferSize, char** args, int maxArgs);

}  // namespace setup
