#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kv::x11test {

// A program started in the background. It is ended when this object goes, and the kernel ends
// it as well should the test program itself die, so no server or game outlives a test run.
class ChildProcess {
public:
    struct Options {
        std::filesystem::path workingDirectory;  // empty: inherit
        std::filesystem::path outputFile;        // stdout and stderr; empty: discarded
        int passFd = -1;                         // handed to the child as descriptor 3
    };

    ChildProcess(const std::vector<std::string>& argv, const Options& options);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool running();

private:
    pid_t pid_ = -1;
};

// Runs a program to its end and returns what it wrote to stdout, or nothing if it failed to
// start, exited with a status other than 0, or ran longer than `timeout`.
std::optional<std::string> runForOutput(const std::vector<std::string>& argv,
                                        std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace kv::x11test
