#pragma once
// Freedesktop desktop entries: the program entry made from an INF's program group, and the
// entry that runs a command once at the next login and removes itself.
#include <string>
#include <vector>

namespace infinstall {

struct ProgramItem {
    std::string name;
    std::vector<std::string> command;  // the program and its arguments, each as it is
    std::string icon;                  // a file, or empty
    std::string folder;                // working folder, or empty
};

// What an INF says of its program entry beyond the items, through infinstall's own directives
// DesktopCategories and DesktopWindowClass; empty when it does not.
struct EntryKeys {
    std::string categories;   // Categories
    std::string windowClass;  // StartupWMClass: the class in the WM_CLASS of the program's windows
};

// The first item is the program; every further item becomes an action of the entry.
std::string programEntryText(const std::vector<ProgramItem>& items, const EntryKeys& keys);

// Runs `command` at the next login of the user and deletes `entryPath` (its own file) first.
std::string runOnceEntryText(const std::string& name, const std::vector<std::string>& command,
                             const std::string& entryPath);

// The file name of a program group's entry: "KARVELO" → "KARVELO.desktop". Characters other
// than letters, digits, "-" and "_" become "_".
std::string entryFileName(const std::string& groupName);

// One Exec line from its arguments, quoted and escaped as the desktop entry format asks; a
// program whose path holds a "%" is started through /bin/sh, so that GLib loads the entry.
std::string execValue(const std::vector<std::string>& command);

}  // namespace infinstall
