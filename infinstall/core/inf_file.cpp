#include "infinstall/core/inf_file.h"

#include <fstream>
#include <iterator>

#include "infinstall/core/paths.h"

namespace infinstall {

InfFile InfFile::parse(const std::string& path, const std::string& bytes)
{
    InfFile file;
    file.path_ = path;
    if (bytes.size() > kMaxInfFileBytes)
        throw file.error(0, "Die Datei ist größer als " + std::to_string(kMaxInfFileBytes / (1024 * 1024)) +
                                " MiB (" + std::to_string(kMaxInfFileBytes) +
                                " Bytes); so große INF-Dateien werden nicht gelesen.");
    LogicalLines lines(file.path_, bytes);
    std::string text;
    int number = 0;
    size_t current = 0;
    bool inSection = false;
    while (lines.next(text, number)) {
        const std::string_view line = trim(text);
        if (line.empty())
            continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            if (close == std::string_view::npos)
                throw file.error(number, "Dem Abschnittsnamen fehlt die schließende Klammer \"]\".");
            if (!trim(line.substr(close + 1)).empty())
                throw file.error(number, "Nach dem Abschnittsnamen steht noch Text.");
            const std::string name(trim(line.substr(1, close - 1)));
            if (name.empty())
                throw file.error(number, "Der Abschnittsname ist leer.");
            // A repeated section adds to the first.
            const auto [at, added] = file.sectionIndex_.try_emplace(name, file.sections_.size());
            if (added) {
                InfSection section;
                section.name = name;
                section.number = number;
                file.sections_.push_back(std::move(section));
            }
            current = at->second;
            inSection = true;
            continue;
        }
        if (!inSection)
            throw file.error(number, "Die Zeile steht vor dem ersten Abschnitt.");
        InfLine entry;
        entry.number = number;
        std::string_view values = line;
        const std::vector<std::string_view> keyAndValue = splitOutsideQuotes(line, '=', true);
        if (keyAndValue.size() == 2) {
            entry.hasKey = true;
            entry.key = unquote(keyAndValue[0]);
            if (entry.key.empty())
                throw file.error(number, "Vor dem \"=\" steht kein Name.");
            values = keyAndValue[1];
        }
        if (!entry.hasKey || !trim(values).empty()) {
            for (std::string_view field : splitOutsideQuotes(values, ',', false))
                entry.fields.push_back(unquote(field));
        }
        InfSection& section = file.sections_[current];
        if (entry.hasKey)
            section.firstLineOfKey.try_emplace(entry.key, section.lines.size());
        section.lines.push_back(std::move(entry));
    }
    return file;
}

InfFile InfFile::read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    InfFile named;
    named.path_ = path;
    if (!in)
        throw named.error(0, "Die Datei kann nicht gelesen werden.");
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw named.error(0, "Die Datei kann nicht gelesen werden.");
    return parse(path, bytes);
}

const InfLine* InfSection::line(std::string_view key) const
{
    const auto it = firstLineOfKey.find(key);
    return it == firstLineOfKey.end() ? nullptr : &lines[it->second];
}

const InfSection* InfFile::section(std::string_view name) const
{
    const auto it = sectionIndex_.find(name);
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const InfLine* InfFile::line(std::string_view sectionName, std::string_view key) const
{
    const InfSection* s = section(sectionName);
    return s ? s->line(key) : nullptr;
}

std::string InfFile::fileName() const
{
    return nameOf(path_);
}

InfError InfFile::error(int line, const std::string& what) const
{
    return InfError(path_, line, what);
}

}  // namespace infinstall
