#pragma once
// A player who is not root and runs an INF that a system-wide installation keeps (the menu
// entry's uninstall action does) needs an administrator: infinstall runs itself again through
// pkexec, whose authentication dialog asks for the password, and only then asks its questions.
// The password buys exactly the commands the installation's menu entries give the kept
// infinstall, and nothing else: run through pkexec, infinstall refuses any other.
#include <optional>
#include <string>
#include <vector>

#include "infinstall/core/inf_file.h"
#include "infinstall/core/invocation.h"
#include "infinstall/core/places.h"

namespace infinstall {

bool needsAdministrator(const Invocation& call, bool root);

// The calls of the kept infinstall that the program entries of `inf`'s sections make, as
// `places` would install them: the uninstall action of the menu entry among them.
std::vector<Invocation> menuCalls(const InfFile& inf, const Places& places);

// Whether `call` is one of `allowed`: the same kind of call, INF and section, the INF paths
// compared after making both absolute.
bool isOneOf(const Invocation& call, const std::vector<Invocation>& allowed);

// The kept infinstall's command line for `call`, with its INF path made absolute.
std::string keptInstallerCommand(const Invocation& call);

// Runs the kept infinstall with `call` through pkexec and returns its exit code; nothing when no
// administrator could be asked or none agreed (no pkexec, no authentication agent, a refused or
// dismissed password).
std::optional<int> runAsAdministrator(const Invocation& call);

// Says that only an administrator can do what `call` does to `product`, and how.
std::string administratorOnlyText(const std::string& product, bool removes, const Invocation& call);

// Says that, run through pkexec, infinstall does only what `allowed` names and not `asked`.
std::string onlyMenuCallsText(const std::string& asked, const std::vector<Invocation>& allowed);

}  // namespace infinstall
