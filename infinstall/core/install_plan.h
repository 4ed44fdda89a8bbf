#pragma once
// What one section of an INF asks for, worked out completely before anything is changed:
// first the questions (prompts, destination folders), then, with the answers, the plan of
// files, registry values and program entries.
// PlanBuilder hands each directive to the file that plans it: section_questions, plan_files,
// plan_registry, program_groups, all reading the INF through plan_context.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "infinstall/core/file_system.h"
#include "infinstall/core/inf_file.h"
#include "infinstall/core/places.h"
#include "infinstall/core/registry.h"

namespace infinstall {

struct Prompt {
    std::string title, text;
    bool yesNo = false;  // else OK / Cancel
};

// CustomDestination flags.
inline constexpr unsigned kOfferRecordedFolder = 0x01;  // an earlier installation's folder first
inline constexpr unsigned kAskForFolder = 0x04;         // the folder prompt
inline constexpr unsigned kWarnBeforeOverwriting = 0x10;

struct DestinationQuestion {
    int dirid = 0;
    unsigned flags = 0;
    std::string prompt, defaultFolder, overwriteWarning;
    std::optional<std::string> recordedFolder;  // from the registry, when there is one
};

struct SectionQuestions {
    std::optional<Prompt> beginPrompt, endPrompt;
    std::vector<DestinationQuestion> destinations;
};

struct FileCopy {
    std::string source, target;  // absolute paths
    bool keepExisting = false;   // copy flag 16: an existing file stays as it is
    unsigned mode = 0644;
};

struct RegistryChange {
    bool remove = false;
    std::string key;                  // "HKLM\SOFTWARE\KARVELO"
    std::optional<std::string> name;  // a removal without a name takes the whole key
    std::string data;
};

struct TextFile {
    std::string path, text;
};

struct InstallPlan {
    std::vector<std::string> folders;  // folders the copies need, parents first
    std::vector<FileCopy> copies;
    std::vector<TextFile> entries;                  // desktop and autostart entries to write
    std::vector<std::string> removals;              // files to delete
    std::vector<std::string> emptyFoldersToRemove;  // removed only when nothing else is in them
    std::vector<RegistryChange> registry;
    bool keepsInf = false;  // some copy goes to the INF folder (kept for uninstalling)
    std::vector<std::vector<std::string>> programCommands;  // what the menu entries made run
    std::string programName;                                // the menu entry of the program made, if any
    bool inGames = false;                                   // that entry is listed among the games
};

class PlanBuilder {
public:
    // `sources` reads the start of each source file for its mode; without it every copy is
    // planned as data.
    PlanBuilder(const InfFile& inf, const Places& places, const Registry& registry,
                FileSystem* sources = nullptr);

    // The [Version] check: empty when this installer may run the INF, else the INF's message.
    std::string versionProblem() const;
    // The section to run; `name` ending in ".ntx86" falls back to the name without it.
    // Throws InfError when neither exists.
    const InfSection& section(const std::string& name) const;
    // Throws InfError for a fault in the section or what it refers to.
    SectionQuestions questions(const InfSection& section) const;
    // `folders` holds the chosen folder of every destination question. Throws InfError.
    InstallPlan plan(const InfSection& section, const std::map<int, std::string>& folders) const;

private:
    const InfFile& inf_;
    const Places& places_;
    const Registry& registry_;
    FileSystem* sources_;
};

}  // namespace infinstall
