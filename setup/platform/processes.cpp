#include "setup/platform/processes.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "setup/platform/files.h"
#include "setup/platform/folders.h"
#include "setup/platform/path_text.h"

namespace setup {
namespace {

// Room for the longest line the driver builds: two work-folder paths at most.
constexpr size_t kLineSize = 2 * kPathSize;
constexpr int kMaxArguments = 32;
// A clearly raised priority that still leaves room above it for the system's own work.
constexpr int kHighPriorityNice = -10;
constexpr long kPollNanoseconds = 10 * 1000 * 1000;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A regular file with an execute bit; whether it is ours to run, the start
// itself says.
bool isExecutableFile(const char* path)
{
    struct stat info;
    return pathInfo(path, true, &info) && S_ISREG(info.st_mode) && (info.st_mode & 0111) != 0;
}

// `folder` + "/" + `program`, when it fits.
bool joinPath(const char* folder, size_t folderLength, const char* program, char* out, size_t size)
{
    if (folderLength == 0 || folderLength >= size)
        return false;
    memcpy(out, folder, folderLength);
    out[folderLength] = '\0';
    if (out[folderLength - 1] != '/' && !appendText(out, size, "/"))
        return false;
    return appendText(out, size, program);
}

bool searchPath(const char* program, char* out, size_t size)
{
    const char* path = getenv("PATH");
    // What execvp uses when PATH is not set.
    if (!path)
        path = "/bin:/usr/bin";
    while (true) {
        const char* end = strchr(path, ':');
        const size_t length = end ? static_cast<size_t>(end - path) : strlen(path);
        // Only absolute folders: an empty or relative entry would be taken from the
        // current folder, which holds nothing to run for us.
        if (path[0] == '/' && joinPath(path, length, program, out, size) && isExecutableFile(out))
            return true;
        if (!end)
            return false;
        path = end + 1;
    }
}

// The copy the package brought along: a regular file of our own user (a link is not opened),
// made executable for its owner. The folder is the private work folder, so nobody else can
// have put it there or change it afterwards.
bool prepareCarriedProgram(int workFolder, const char* program)
{
    const int fd = openFileIn(workFolder, program);
    if (fd < 0)
        return false;
    struct stat info;
    const bool ours = fileInfo(fd, &info) && S_ISREG(info.st_mode) && info.st_uid == geteuid();
    const bool ready = ours && fchmod(fd, (info.st_mode & 07777) | S_IXUSR) == 0;
    close(fd);
    return ready;
}

}  // namespace

bool findInstallerProgram(const char* program, int workFolder, char* out, size_t size)
{
    // Started in the work folder itself (see startInstaller), so the name is
    // found through the folder held open, not through its path.
    if (workFolder >= 0 && prepareCarriedProgram(workFolder, program))
        return copyText(out, size, "./") && appendText(out, size, program);
    return searchPath(program, out, size);
}

int splitArguments(const char* commandLine, char* buffer, size_t bufferSize, char** args, int maxArgs)
{
    if (!copyText(buffer, bufferSize, commandLine))
        return -1;
    char* cursor = buffer;
    while (isBlank(*cursor))
        ++cursor;
    while (*cursor && !isBlank(*cursor))
        ++cursor;  // the host's name
    int count = 0;
    while (true) {
        while (isBlank(*cursor))
            *cursor++ = '\0';
        if (!*cursor)
            return count;
        if (count == maxArgs)
            return -1;
        args[count++] = cursor;
        while (*cursor && !isBlank(*cursor))
            ++cursor;
    }
}

bool startInstaller(const char* commandLine, int workFolder, bool highPriority, ChildProcess* child)
{
    char program[kPathSize];
    if (!findInstallerProgram(kInstallerProgram, workFolder, program, sizeof program))
        return false;

    char line[kLineSize];
    char* argv[kMaxArguments + 2];
    argv[0] = program;
    const int count = splitArguments(commandLine, line, sizeof line, argv + 1, kMaxArguments);
    if (count < 0)
        return false;
    argv[count + 1] = nullptr;

    // The child starts in the work folder with nothing of ours but the three standard
    // descriptors, a clean signal state and a session of its own.
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    if (workFolder >= 0)
        posix_spawn_file_actions_addfchdir_np(&actions, workFolder);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    // glibc's own name for environ, which the image imports anyway.
    const int failure = posix_spawn(&pid, program, &actions, &attributes, argv, __environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failure != 0)
        return false;

    // Only root may raise a priority; for anyone else the child simply runs at ours.
    if (highPriority)
        setpriority(PRIO_PROCESS, static_cast<id_t>(pid), kHighPriorityNice);
    child->pid = pid;
    return true;
}

void waitForChild(ChildProcess* child, void (*serviceEvents)(void*), void* context)
{
    if (child->pid <= 0)
        return;
    const timespec pause = {0, kPollNanoseconds};
    while (true) {
        const pid_t ended = waitpid(child->pid, nullptr, serviceEvents ? WNOHANG : 0);
        if (ended == child->pid)
            break;
        // Anything else than "still running" or an interruption means there is no child to wait
        // for any more (for instance when SIGCHLD is ignored).
        if (ended < 0 && errno != EINTR)
            break;
        if (ended == 0) {
            serviceEvents(context);
            nanosleep(&pause, nullptr);
        }
    }
    child->pid = 0;
}

}  // namespace setup
