#include "infinstall/core/desktop_entry.h"

#include <cctype>

#include "infinstall/core/escaping.h"

namespace infinstall {
namespace {

// A value of type string: backslash and control characters escaped.
std::string escapedString(const std::string& text)
{
    return replacingEach(text, {{'\\', "\\\\"}, {'\n', "\\n"}, {'\t', "\\t"}, {'\r', "\\r"}});
}

std::string quotedArgument(const std::string& argument)
{
    static const std::string kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string out;
    bool needsQuotes = argument.empty();
    for (char c : argument) {
        if (kReserved.find(c) != std::string::npos)
            needsQuotes = true;
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            out += '\\';
        if (c == '%')
            out += '%';  // a literal percent sign, not a field code
        out += c;
    }
    return needsQuotes ? "\"" + out + "\"" : out;
}

}  // namespace

std::string execValue(const std::vector<std::string>& command)
{
    // GLib finds an entry's program by the first word of Exec before "%%" becomes "%", so it
    // looks for ".../100%%/kv5", finds nothing and does not load the entry at all. A program
    // with "%" in its path is started through the shell instead, whose own path has none.
    std::vector<std::string> words = command;
    if (!words.empty() && words.front().find('%') != std::string::npos)
        words.insert(words.begin(), {"/bin/sh", "-c", "exec \"$0\" \"$@\""});
    std::string line;
    for (const std::string& argument : words) {
        if (!line.empty())
            line += ' ';
        line += quotedArgument(argument);
    }
    return escapedString(line);
}

std::string programEntryText(const std::vector<ProgramItem>& items, const EntryKeys& keys)
{
    if (items.empty())
        return {};
    const ProgramItem& program = items.front();
    std::string text = "[Desktop Entry]\nType=Application\nName=" + escapedString(program.name) +
                       "\nExec=" + execValue(program.command) + "\n";
    if (!program.folder.empty())
        text += "Path=" + escapedString(program.folder) + "\n";
    if (!program.icon.empty())
        text += "Icon=" + escapedString(program.icon) + "\n";
    text += "Terminal=false\n";
    if (!keys.categories.empty())
        text += "Categories=" + escapedString(keys.categories) + "\n";
    // Ties the program's windows on X to this entry, for the dash and the task bar.
    if (!keys.windowClass.empty())
        text += "StartupWMClass=" + escapedString(keys.windowClass) + "\n";
    if (items.size() > 1) {
        text += "Actions=";
        for (size_t i = 1; i < items.size(); ++i)
            text += "item" + std::to_string(i) + ";";
        text += "\n";
    }
    for (size_t i = 1; i < items.size(); ++i) {
        text += "\n[Desktop Action item" + std::to_string(i) + "]\nName=" + escapedString(items[i].name) +
                "\nExec=" + execValue(items[i].command) + "\n";
        if (!items[i].icon.empty())
            text += "Icon=" + escapedString(items[i].icon) + "\n";
    }
    return text;
}

std::string runOnceEntryText(const std::string& name, const std::vector<std::string>& command,
                             const std::string& entryPath)
{
    std::vector<std::string> line = {"/bin/sh", "-c", "rm -f -- \"$0\"; exec \"$@\"", entryPath};
    line.insert(line.end(), command.begin(), command.end());
    return "[Desktop Entry]\nType=Application\nName=" + escapedString(name) + "\nExec=" + execValue(line) +
           "\nNoDisplay=true\nTerminal=false\n";
}

std::string entryFileName(const std::string& groupName)
{
    std::string name;
    for (unsigned char c : groupName)
        name += std::isalnum(c) || c == '-' || c == '_' ? static_cast<char>(c) : '_';
    return (name.empty() ? std::string("program") : name) + ".desktop";
}

}  // namespace infinstall
