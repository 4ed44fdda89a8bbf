#pragma once
// Where an installation puts what is not in its own folder. Run as root, for the whole system;
// run by anyone else, for that user alone.
#include <functional>
#include <optional>
#include <string>

namespace infinstall {

struct Places {
    bool systemWide = false;
    std::string programs;       // the default folder lies below it
    std::string store;          // infinstall's own: the registry and the kept INF files
    std::string infFolder;      // store + "/inf"
    std::string registry;       // store + "/registry"
    std::string applications;   // desktop entries
    std::string autostart;      // entries run once at the next login
    std::string polkitActions;  // system-wide: where the action that lets a player ask an
                                // administrator to remove the installation goes
};

// Where a system-wide installation keeps its INF files (and the infinstall that runs them).
inline constexpr char kSystemInfFolder[] = "/var/lib/infinstall/inf";

// `environment` looks up a variable (null when unset). Empty `error` on success.
std::optional<Places> placesFor(bool root, const std::function<const char*(const char*)>& environment,
                                std::string& error);

}  // namespace infinstall
