#include "tests/support/child_process.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kv::x11test {
namespace {

// Runs in the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void execChild(char* const* args, pid_t parent, int outFd, int passFd, const char* directory)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)  // the parent died before the line above took effect
        _exit(127);
    const int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, 0);
    dup2(outFd >= 0 ? outFd : devNull, 1);
    dup2(outFd >= 0 ? outFd : devNull, 2);
    if (passFd == 3)
        fcntl(3, F_SETFD, 0);  // dup2 onto itself would leave close-on-exec set
    else if (passFd >= 0)
        dup2(passFd, 3);
    if (directory && chdir(directory) != 0)
        _exit(127);
    execvp(args[0], args);
    _exit(127);
}

// Built before the fork, so the child need not allocate.
std::vector<char*> argumentPointers(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    return args;
}

void endProcess(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const Options& options)
{
    int outFd = -1;
    if (!options.outputFile.empty()) {
        outFd = open(options.outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (outFd < 0)
            throw std::runtime_error("cannot create " + options.outputFile.string());
    }
    const std::string directory = options.workingDirectory.string();
    const std::vector<char*> args = argumentPointers(argv);
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0)
        execChild(args.data(), parent, outFd, options.passFd,
                  directory.empty() ? nullptr : directory.c_str());
    if (outFd >= 0)
        close(outFd);
    if (pid_ < 0)
        throw std::runtime_error("cannot start " + argv.front());
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0)
        endProcess(pid_);
}

bool ChildProcess::running()
{
    return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0;
}

std::optional<std::string> runForOutput(const std::vector<std::string>& argv,
                                        std::chrono::milliseconds timeout)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return std::nullopt;
    const std::vector<char*> args = argumentPointers(argv);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0)
        execChild(args.data(), parent, fds[1], -1, nullptr);
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return std::nullopt;
    }

    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool timedOut = false;
    char buffer[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fds[0], POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) == 0) {
            timedOut = true;
            break;
        }
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        output.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    if (timedOut)
        kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    if (timedOut || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return output;
}

}  // namespace kv::x11test
