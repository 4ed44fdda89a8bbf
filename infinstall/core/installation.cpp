#include "infinstall/core/installation.h"

#include "infinstall/core/paths.h"
#include "infinstall/core/registry.h"

namespace infinstall {
namespace {

std::string backupName(const std::string& path)
{
    const std::string name = nameOf(path);
    return path.substr(0, path.size() - name.size()) + "." + name + ".infinstall-old";
}

class Run {
public:
    Run(FileSystem& files, ProgressSink* progress) : files_(files), progress_(progress) {}

    bool makeFolders(const std::vector<std::string>& folders)
    {
        for (const std::string& folder : folders) {
            const PathKind kind = files_.kind(folder);
            if (kind == PathKind::Folder)
                continue;
            if (kind != PathKind::Missing) {
                // A folder on the way that may not be passed says so itself.
                const std::string why = files_.placeProblem(folder);
                return fail(why.empty() ? folder + " ist kein Ordner." : why);
            }
            std::string reason;
            if (!files_.makeFolder(folder, reason))
                return fail("Kann den Ordner " + folder + " nicht anlegen: " + reason);
            createdFolders_.push_back(folder);
        }
        return true;
    }

    bool stage(const std::string& target, const std::string& source, bool fromText, unsigned mode)
    {
        if (progress_ && progress_->cancelled())
            return fail("Die Installation wurde abgebrochen.");
        if (!fromText && files_.kind(source) != PathKind::File)
            return fail("Die Datei " + source + " fehlt im Installationspaket.");
        std::string written, reason;
        if (!files_.writeBeside(target, source, fromText, mode, written, reason))
            return fail("Kann " + target + " nicht schreiben: " + reason);
        staged_.push_back({written, target});
        return true;
    }

    // Moves what is at `target` aside, so that it can be put back.
    bool moveAside(const std::string& target)
    {
        const PathKind kind = files_.kind(target);
        if (kind == PathKind::Missing)
            return true;
        if (kind == PathKind::Folder)
            return fail(target + " ist ein Ordner, keine Datei.");
        std::string reason;
        const std::string backup = backupName(target);
        if (!files_.rename(target, backup, reason))
            return fail("Kann " + target + " nicht ersetzen: " + reason);
        asides_.push_back({backup, target});
        return true;
    }

    bool commit(const std::vector<std::string>& removals)
    {
        for (const std::string& path : removals)
            if (!moveAside(path))
                return false;
        for (const auto& [temporary, target] : staged_) {
            if (!moveAside(target))
                return false;
            std::string reason;
            if (!files_.rename(temporary, target, reason))
                return fail("Kann " + target + " nicht anlegen: " + reason);
            placed_.push_back(target);
        }
        staged_.clear();
        std::string ignored;
        for (const auto& [backup, target] : asides_)
            files_.removeFile(backup, ignored);
        asides_.clear();
        createdFolders_.clear();
        return true;
    }

    // Puts everything back as it was before this run, newest change first.
    void undo()
    {
        std::string ignored;
        for (const auto& [temporary, target] : staged_)
            files_.removeFile(temporary, ignored);
        for (auto it = placed_.rbegin(); it != placed_.rend(); ++it)
            files_.removeFile(*it, ignored);
        for (auto it = asides_.rbegin(); it != asides_.rend(); ++it)
            files_.rename(it->first, it->second, ignored);
        for (auto it = createdFolders_.rbegin(); it != createdFolders_.rend(); ++it)
            files_.removeFolder(*it, ignored);
    }

    bool fail(const std::string& message)
    {
        error_ = message;
        return false;
    }

    const std::string& error() const { return error_; }

private:
    FileSystem& files_;
    ProgressSink* progress_;
    std::vector<std::pair<std::string, std::string>> staged_;  // temporary, target
    std::vector<std::pair<std::string, std::string>> asides_;  // backup, target
    std::vector<std::string> placed_;
    std::vector<std::string> createdFolders_;
    std::string error_;
};

// The registry file after the plan's changes: its new text, or nothing to remove it.
bool registryAfter(const InstallPlan& plan, const std::string& path, FileSystem& files, std::string& text,
                   std::string& error)
{
    std::string old;
    if (files.kind(path) == PathKind::File && !files.readFile(path, old, error)) {
        error = "Kann " + path + " nicht lesen: " + error;
        return false;
    }
    Registry registry = Registry::fromText(old);
    for (const RegistryChange& change : plan.registry) {
        if (change.remove)
            registry.remove(change.key, change.name ? &*change.name : nullptr);
        else
            registry.set(change.key, change.name.value_or(""), change.data);
    }
    text = registry.text();
    return true;
}

}  // namespace

bool carryOut(const InstallPlan& plan, const std::string& registryPath, FileSystem& files,
              ProgressSink* progress, std::string& error)
{
    Run run(files, progress);
    std::vector<std::string> removals = plan.removals;
    std::string registryText;
    bool ok = true;
    if (!plan.registry.empty())
        ok = registryAfter(plan, registryPath, files, registryText, error);
    if (!ok)
        return false;

    const int total = static_cast<int>(plan.copies.size() + plan.entries.size());
    int done = 0;
    ok = run.makeFolders(plan.folders);
    for (size_t i = 0; ok && i < plan.copies.size(); ++i) {
        const FileCopy& copy = plan.copies[i];
        // Copy flag 16: what the players changed since the last installation stays.
        if (!(copy.keepExisting && files.kind(copy.target) != PathKind::Missing))
            ok = run.stage(copy.target, copy.source, false, copy.mode);
        if (ok && progress)
            progress->advanced(++done, total, copy.target);
    }
    for (size_t i = 0; ok && i < plan.entries.size(); ++i) {
        ok = run.stage(plan.entries[i].path, plan.entries[i].text, true, 0644);
        if (ok && progress)
            progress->advanced(++done, total, plan.entries[i].path);
    }
    if (ok && !plan.registry.empty()) {
        if (registryText.empty())
            removals.push_back(registryPath);
        else
            ok = run.stage(registryPath, registryText, true, 0644);
    }
    if (ok && progress && progress->cancelled())
        ok = run.fail("Die Installation wurde abgebrochen.");
    ok = ok && run.commit(removals);
    if (!ok) {
        run.undo();
        error = run.error();
        return false;
    }
    std::string ignored;
    for (const std::string& folder : plan.emptyFoldersToRemove)
        if (files.kind(folder) == PathKind::Folder)
            files.removeFolder(folder, ignored);
    return true;
}

}  // namespace infinstall
