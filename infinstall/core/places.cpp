#include "infinstall/core/places.h"

namespace infinstall {
namespace {

// An XDG base folder: the variable when it holds an absolute path, else $HOME + `fallback`.
std::string baseFolder(const std::function<const char*(const char*)>& environment, const char* variable,
                       const std::string& home, const char* fallback)
{
    const char* value = environment(variable);
    if (value && value[0] == '/')
        return value;
    return home + fallback;
}

}  // namespace

std::optional<Places> placesFor(bool root, const std::function<const char*(const char*)>& environment,
                                std::string& error)
{
    error.clear();
    const char* homeValue = environment("HOME");
    const std::string home = homeValue && homeValue[0] == '/' ? homeValue : "";
    Places places;
    places.systemWide = root;
    if (root) {
        places.programs = "/opt";
        places.store = "/var/lib/infinstall";
        places.applications = "/usr/share/applications";
        places.polkitActions = "/usr/share/polkit-1/actions";
    } else {
        if (home.empty() && !(environment("XDG_DATA_HOME") && environment("XDG_DATA_HOME")[0] == '/')) {
            error = "Der Ordner des Benutzers ist unbekannt: HOME ist nicht gesetzt.";
            return std::nullopt;
        }
        const std::string data = baseFolder(environment, "XDG_DATA_HOME", home, "/.local/share");
        places.programs = data;
        places.store = data + "/infinstall";
        places.applications = data + "/applications";
    }
    places.infFolder = places.store + "/inf";
    places.registry = places.store + "/registry";
    if (home.empty() && !(environment("XDG_CONFIG_HOME") && environment("XDG_CONFIG_HOME")[0] == '/'))
        places.autostart = "";  // nowhere to register a run at the next login
    else
        places.autostart = baseFolder(environment, "XDG_CONFIG_HOME", home, "/.config") + "/autostart";
    return places;
}

}  // namespace infinstall
