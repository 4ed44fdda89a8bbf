// A shell command line run from a test: a word quoted for it, and the command's exit status with
// what it wrote, so that a failing check can show the tool's own words.
#pragma once

#include <stdio.h>
#include <sys/wait.h>

#include <stdexcept>
#include <string>

namespace kv::test {

inline std::string shellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct CommandResult {
    int exitCode;        // -1: killed by a signal
    std::string output;  // standard output and standard error together
};

inline CommandResult runCommand(const std::string& command)
{
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        throw std::runtime_error("popen failed: " + command);
    CommandResult result{-1, {}};
    char chunk[4096];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        result.output.append(chunk, n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace kv::test
