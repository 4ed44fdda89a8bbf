#pragma once
// The polkit action a system-wide installation brings along: it lets a player who is not root
// run the kept infinstall through pkexec once an administrator has authenticated, with the
// player's display, so that the usual questions appear.
#include <string>

namespace infinstall {

// "org.infinstall.karvelo" for the program group "KARVELO".
std::string polkitActionId(const std::string& groupName);
// The file in polkit's actions folder: the action id and ".policy".
std::string polkitPolicyFileName(const std::string& groupName);
// The action's definition, for running `program` (an absolute path) on the kept `inf` to
// remove the installation; its texts name both files by their full paths.
std::string polkitPolicyText(const std::string& groupName, const std::string& program,
                             const std::string& inf);

}  // namespace infinstall
