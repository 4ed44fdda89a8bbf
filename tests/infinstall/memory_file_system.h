#pragma once
// A file system in memory for the plan and run tests: paths are plain text below "/" (which
// always exists), so that a test sees every file a run leaves behind, with its mode, and can
// make any one change fail to see that what went before is undone.
#include <map>
#include <ostream>
#include <string>

#include "infinstall/core/file_system.h"
#include "infinstall/core/paths.h"

namespace infinstall {

class MemoryFileSystem : public FileSystem {
public:
    struct Node {
        PathKind kind = PathKind::File;
        std::string content;
        unsigned mode = 0644;
        bool operator==(const Node&) const = default;
        friend std::ostream& operator<<(std::ostream& out, const Node& node)
        {
            return out << static_cast<int>(node.kind) << " " << std::oct << node.mode << std::dec << " "
                       << node.content.substr(0, 40);
        }
    };
    std::map<std::string, Node> nodes;
    int failAt = 0;   // the change with this number (counted from 1) fails; 0: none does
    int changes = 0;  // changes asked for so far
    std::map<std::string, std::string> refusedPlaces;  // a folder and the placeProblem text below it

    void add(const std::string& path, PathKind kind, const std::string& content = "", unsigned mode = 0644)
    {
        for (std::string folder = folderOf(path); folder != "/" && folder != "."; folder = folderOf(folder))
            nodes.try_emplace(folder, Node{PathKind::Folder, "", 0755});
        nodes[path] = {kind, content, mode};
    }

    PathKind kind(const std::string& path) override
    {
        if (path == "/")
            return PathKind::Folder;
        const auto it = nodes.find(path);
        return it == nodes.end() ? PathKind::Missing : it->second.kind;
    }
    bool readFile(const std::string& path, std::string& content, std::string& error,
                  size_t limit = kReadLimit) override
    {
        if (kind(path) != PathKind::File)
            return fail(error, path + " ist keine gewöhnliche Datei.");
        content = nodes[path].content.substr(0, limit);
        return content.size() == nodes[path].content.size() || fail(error, path + " ist zu groß.");
    }
    bool makeFolder(const std::string& path, std::string& error) override
    {
        if (!change(error) || kind(folderOf(path)) != PathKind::Folder || kind(path) != PathKind::Missing)
            return fail(error, "kein Ordner " + path);
        nodes[path] = {PathKind::Folder, "", 0755};
        return true;
    }
    bool removeFolder(const std::string& path, std::string& error) override
    {
        const auto below = nodes.upper_bound(path + "/");
        const bool empty = below == nodes.end() || below->first.rfind(path + "/", 0) != 0;
        if (!change(error) || kind(path) != PathKind::Folder || !empty)
            return fail(error, path + " ist nicht leer.");
        nodes.erase(path);
        return true;
    }
    bool writeBeside(const std::string& target, const std::string& source, bool fromText, unsigned mode,
                     std::string& written, std::string& error) override
    {
        std::string content = source;
        if (!change(error) || kind(folderOf(target)) != PathKind::Folder ||
            (!fromText && !readFile(source, content, error, kReadLimit)))
            return fail(error, "kann " + target + " nicht schreiben");
        written = target + ".new" + std::to_string(changes);
        nodes[written] = {PathKind::File, content, mode};
        return true;
    }
    bool rename(const std::string& from, const std::string& to, std::string& error) override
    {
        if (!change(error) || kind(from) == PathKind::Missing || kind(to) == PathKind::Folder)
            return fail(error, "kann " + from + " nicht umbenennen");
        nodes[to] = nodes[from];
        nodes.erase(from);
        return true;
    }
    bool removeFile(const std::string& path, std::string& error) override
    {
        if (!change(error) || kind(path) == PathKind::Missing || kind(path) == PathKind::Folder)
            return fail(error, "kann " + path + " nicht entfernen");
        nodes.erase(path);
        return true;
    }
    std::string placeProblem(const std::string& path) override
    {
        for (const auto& [folder, problem] : refusedPlaces)
            if (isBelowOrSame(path, folder))
                return problem;
        return {};
    }

private:
    bool change(std::string& error)
    {
        if (++changes != failAt)
            return true;
        error = "No space left on device";
        return false;
    }
    static bool fail(std::string& error, const std::string& why)
    {
        if (error.empty())
            error = why;
        return false;
    }
};

}  // namespace infinstall
