#pragma once
// The command lines infinstall accepts: those a setup hands to the system's INF installers,
// with the rundll host's name already replaced by ours.
//   advpack,LaunchINFSection <inf>,<section>[,<flags>]
//   setupapi,InstallHinfSection <section> <mode> <inf>
//   setupx.dll,InstallHinfSection <section> <mode> <inf>
#include <optional>
#include <string>
#include <vector>

namespace infinstall {

struct Invocation {
    bool advanced = false;  // advpack (LaunchINFSection) rather than setupapi/setupx
    std::string infPath;
    std::string section;
};

// `args` are the arguments after the program's name. A path split at its blanks by the caller
// is joined again. Empty `error` on success; otherwise it says what is wrong.
std::optional<Invocation> parseInvocation(const std::vector<std::string>& args, std::string& error);

// How to call infinstall, for messages.
extern const char kUsage[];

}  // namespace infinstall
