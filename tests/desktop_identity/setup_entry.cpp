// setup_entry INF FOLDER APPLICATIONS: writes the program entry infinstall makes from the INF's
// install section for an installation into FOLDER, into the folder APPLICATIONS under the name
// infinstall gives it, and prints the entry's path. Exit status 1 when the INF makes none.
#include <exception>
#include <fstream>
#include <iostream>

#include "infinstall/core/inf_file.h"
#include "infinstall/core/install_plan.h"
#include "infinstall/core/places.h"
#include "infinstall/core/registry.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: setup_entry INF FOLDER APPLICATIONS\n";
        return 2;
    }
    try {
        const infinstall::InfFile inf = infinstall::InfFile::read(argv[1]);
        infinstall::Places places;
        places.applications = argv[3];
        places.store = std::string(argv[3]) + "/infinstall";
        places.infFolder = places.store + "/inf";
        places.registry = places.store + "/registry";
        const infinstall::Registry registry;
        const infinstall::PlanBuilder builder(inf, places, registry);
        const infinstall::InstallPlan plan =
            builder.plan(builder.section("DefaultInstall2.ntx86"), {{49000, argv[2]}});
        for (const infinstall::TextFile& entry : plan.entries) {
            if (entry.path.size() < 8 || entry.path.compare(entry.path.size() - 8, 8, ".desktop") != 0)
                continue;
            std::ofstream out(entry.path);
            if (!(out << entry.text)) {
                std::cerr << "setup_entry: cannot write " << entry.path << "\n";
                return 1;
            }
            std::cout << entry.path << "\n";
            return 0;
        }
        std::cerr << "setup_entry: the INF makes no program entry\n";
    } catch (const std::exception& e) {
        std::cerr << "setup_entry: " << e.what() << "\n";
    }
    return 1;
}
