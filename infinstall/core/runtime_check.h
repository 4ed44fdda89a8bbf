#pragma once
// Whether the programs about to be installed can run here: the shared libraries their ELF files
// name are loaded once, and the Debian packages of those that are missing are named.
#include <functional>
#include <string>
#include <vector>

#include "infinstall/core/file_system.h"
#include "infinstall/core/install_plan.h"

namespace infinstall {

struct ElfNeeds {
    bool valid = false;
    bool program = false;  // has an interpreter: started, not loaded by another program
    std::vector<std::string> libraries;
};

ElfNeeds readElfNeeds(const std::string& bytes);

struct RuntimeReport {
    std::vector<std::string> programPackages;  // without them the programs do not start
    std::vector<std::string> modulePackages;   // without them the modules cannot be loaded
    std::vector<std::string> modules;          // names of the affected modules
    bool fine() const { return programPackages.empty() && modulePackages.empty(); }
};

// The programs and libraries among `copies` (mode 0755) are read through `files`. `load` tries
// to load a library by its name and returns the name of the library that could not be found
// (itself or one it needs), or an empty text when it loaded.
RuntimeReport checkRuntime(const std::vector<FileCopy>& copies, FileSystem& files,
                           const std::function<std::string(const std::string&)>& load);

// Loads with the system's dynamic loader.
std::string loadLibrary(const std::string& name);

// The Debian package that ships a library, or the library's own name when it is not known.
std::string packageOf(const std::string& library);

}  // namespace infinstall
