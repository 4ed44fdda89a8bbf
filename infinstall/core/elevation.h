#pragma once
// A player who is not root and runs an INF that a system-wide installation keeps (the menu
// entry's uninstall action does) needs an administrator: infinstall runs itself again through
// pkexec, whose authentication dialog asks for the password, and only then asks its questions.
#include <optional>
#include <string>
#include <vector>

#include "core/invocation.h"

namespace infinstall {

bool needsAdministrator(const Invocation& call, bool root);

// Runs the kept infinstall with `args` through pkexec and returns its exit code; nothing when no
// administrator could be asked or none agreed (no pkexec, no authentication agent, a refused or
// dismissed password).
std::optional<int> runAsAdministrator(const std::vector<std::string>& args);

// Says that only an administrator can do what `call` does to `product`, and how.
std::string administratorOnlyText(const std::string& product, bool removes,
                                  const std::vector<std::string>& args);

}  // namespace infinstall
