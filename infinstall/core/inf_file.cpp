#include "core/inf_file.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace infinstall {
namespace {

// Windows-1252 to UTF-8 for one INF, with one conversion descriptor for all its lines. Strict:
// the five bytes Windows-1252 leaves undefined make a line unreadable.
class Windows1252 {
public:
    Windows1252() : cd_(iconv_open("UTF-8", "WINDOWS-1252")) {}
    ~Windows1252()
    {
        if (cd_ != kNone) iconv_close(cd_);
    }
    Windows1252(const Windows1252&) = delete;
    Windows1252& operator=(const Windows1252&) = delete;

    bool decode(std::string_view bytes, std::string& out)
    {
        const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (ascii) {
            out.assign(bytes);
            return true;
        }
        if (cd_ == kNone) return false;
        std::string in(bytes);
        out.resize(in.size() * 3);
        char* inPtr = in.data();
        size_t inLeft = in.size();
        char* outPtr = out.data();
        size_t outLeft = out.size();
        const size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
        if (result == static_cast<size_t>(-1)) return false;
        out.resize(out.size() - outLeft);
        return true;
    }

private:
    static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);
    iconv_t cd_;
};

// Why a line with a control character (other than the tab) is refused, or empty when it has
// none. The character would cut or garble every message that quotes the name it is in.
std::string controlCharacterProblem(std::string_view line)
{
    for (size_t i = 0; i < line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c == '\t' || (c >= 0x20 && c != 0x7f)) continue;
        const std::string at = " an Stelle " + std::to_string(i + 1) + ".";
        if (c == 0) return "Die Zeile enthält ein Nullzeichen (Byte 0)" + at;
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", c);
        return std::string("Die Zeile enthält das Steuerzeichen ") + hex + at;
    }
    return {};
}

std::string tooLong()
{
    return "Die Zeile ist länger als " + std::to_string(kMaxInfLineChars) + " Zeichen.";
}

std::string_view trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The physical lines, without their line ends.
std::vector<std::string_view> physicalLines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
    }
    return lines;
}

// One field or key: blanks around it go, quotes are removed and "" inside quotes is one ".
std::string unquote(std::string_view raw)
{
    std::string out;
    raw = trim(raw);
    bool quoted = false;
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c != '"') {
            out += c;
        } else if (quoted && i + 1 < raw.size() && raw[i + 1] == '"') {
            out += '"';
            ++i;
        } else {
            quoted = !quoted;
        }
    }
    return out;
}

// Splits at `separator` outside quotes, at most once when `once`.
std::vector<std::string_view> splitOutsideQuotes(std::string_view text, char separator, bool once)
{
    std::vector<std::string_view> parts;
    bool quoted = false;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') quoted = !quoted;
        else if (text[i] == separator && !quoted) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
            if (once) break;
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}

class Reader {
public:
    Reader(const InfFile& file) : file_(file) {}

    // A logical line: comments cut, continued lines joined. Returns false at the end.
    bool next(const std::vector<std::string_view>& lines, size_t& index, std::string& text,
              int& number)
    {
        if (index >= lines.size()) return false;
        number = static_cast<int>(index) + 1;
        text.clear();
        size_t length = 0;  // of the physical lines joined so far, comments included
        bool quoted = false;
        while (true) {
            if (index >= lines.size())
                throw file_.error(number, "Die Fortsetzungszeile fehlt am Dateiende.");
            const std::string_view raw = lines[index];
            const int rawNumber = static_cast<int>(index) + 1;
            length += raw.size();
            if (length > kMaxInfLineChars) throw file_.error(rawNumber, tooLong());
            if (const std::string problem = controlCharacterProblem(raw); !problem.empty())
                throw file_.error(rawNumber, problem);
            if (!text_.decode(raw, decoded_))
                throw file_.error(rawNumber, "Die Zeile ist kein Windows-1252-Text.");
            ++index;
            size_t end = decoded_.size();
            for (size_t i = 0; i < decoded_.size(); ++i) {
                if (decoded_[i] == '"') quoted = !quoted;
                else if (decoded_[i] == ';' && !quoted) {
                    end = i;
                    break;
                }
            }
            std::string_view part = decoded_;
            part = part.substr(0, end);
            while (!part.empty() && (part.back() == ' ' || part.back() == '\t'))
                part.remove_suffix(1);
            if (!quoted && !part.empty() && part.back() == '\\') {
                part.remove_suffix(1);
                text.append(part);
                continue;
            }
            text.append(part);
            if (quoted) throw file_.error(number, "Ein Anführungszeichen wird nicht geschlossen.");
            return true;
        }
    }

private:
    const InfFile& file_;
    Windows1252 text_;
    std::string decoded_;
};

}  // namespace

InfError::InfError(const std::string& file, int line, const std::string& what)
    : std::runtime_error(line > 0 ? file + ", Zeile " + std::to_string(line) + ": " + what
                                  : file + ": " + what)
{
}

size_t IgnoringCaseHash::operator()(std::string_view text) const
{
    size_t hash = 14695981039346656037ull;  // FNV-1a over the lower-cased bytes
    for (unsigned char c : text) {
        hash ^= static_cast<unsigned char>(std::tolower(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::vector<std::string> splitFields(std::string_view text, char separator)
{
    std::vector<std::string> fields;
    for (std::string_view part : splitOutsideQuotes(text, separator, false))
        fields.push_back(unquote(part));
    return fields;
}

InfFile InfFile::parse(const std::string& path, const std::string& bytes)
{
    InfFile file;
    file.path_ = path;
    if (bytes.size() > kMaxInfFileBytes)
        throw file.error(0, "Die Datei ist größer als " + std::to_string(kMaxInfFileBytes / (1024 * 1024)) +
                                " MiB (" + std::to_string(kMaxInfFileBytes) +
                                " Bytes); so große INF-Dateien werden nicht gelesen.");
    const std::vector<std::string_view> lines = physicalLines(bytes);
    Reader reader(file);
    size_t index = 0;
    std::string text;
    int number = 0;
    size_t current = 0;
    bool inSection = false;
    while (reader.next(lines, index, text, number)) {
        const std::string_view line = trim(text);
        if (line.empty()) continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            if (close == std::string_view::npos)
                throw file.error(number, "Dem Abschnittsnamen fehlt die schließende Klammer \"]\".");
            if (!trim(line.substr(close + 1)).empty())
                throw file.error(number, "Nach dem Abschnittsnamen steht noch Text.");
            const std::string name(trim(line.substr(1, close - 1)));
            if (name.empty()) throw file.error(number, "Der Abschnittsname ist leer.");
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
        if (!inSection) throw file.error(number, "Die Zeile steht vor dem ersten Abschnitt.");
        InfLine entry;
        entry.number = number;
        std::string_view values = line;
        const std::vector<std::string_view> keyAndValue = splitOutsideQuotes(line, '=', true);
        if (keyAndValue.size() == 2) {
            entry.hasKey = true;
            entry.key = unquote(keyAndValue[0]);
            if (entry.key.empty()) throw file.error(number, "Vor dem \"=\" steht kein Name.");
            values = keyAndValue[1];
        }
        if (!entry.hasKey || !trim(values).empty()) {
            for (std::string_view field : splitOutsideQuotes(values, ',', false))
                entry.fields.push_back(unquote(field));
        }
        InfSection& section = file.sections_[current];
        if (entry.hasKey) section.firstLineOfKey.try_emplace(entry.key, section.lines.size());
        section.lines.push_back(std::move(entry));
    }
    return file;
}

InfFile InfFile::read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    InfFile named;
    named.path_ = path;
    if (!in) throw named.error(0, "Die Datei kann nicht gelesen werden.");
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw named.error(0, "Die Datei kann nicht gelesen werden.");
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
    const size_t slash = path_.rfind('/');
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

InfError InfFile::error(int line, const std::string& what) const
{
    return InfError(path_, line, what);
}

}  // namespace infinstall
