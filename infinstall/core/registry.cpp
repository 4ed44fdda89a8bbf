#include "infinstall/core/registry.h"

#include <algorithm>
#include <sstream>

#include "infinstall/core/inf_file.h"

namespace infinstall {
namespace {

std::string escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string unescaped(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
            out += text[i] == 'n' ? '\n' : text[i];
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

Registry Registry::fromText(const std::string& text)
{
    Registry registry;
    std::istringstream lines(text);
    Key* current = nullptr;
    for (std::string line; std::getline(lines, line);) {
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            registry.keys_.push_back({line.substr(1, line.size() - 2), {}});
            current = &registry.keys_.back();
        } else if (const size_t eq = line.find('='); current && eq != std::string::npos) {
            // Names are written as they are; their "=" cannot be told from the separator, so
            // the first one separates.
            current->values.push_back({line.substr(0, eq), unescaped(line.substr(eq + 1))});
        }
    }
    return registry;
}

std::string Registry::text() const
{
    std::string out;
    for (const Key& key : keys_) {
        out += "[" + key.path + "]\n";
        for (const Value& value : key.values)
            out += value.name + "=" + escaped(value.data) + "\n";
    }
    return out;
}

Registry::Key* Registry::find(const std::string& path)
{
    for (Key& key : keys_)
        if (equalsIgnoringCase(key.path, path))
            return &key;
    return nullptr;
}

std::optional<std::string> Registry::value(const std::string& key, const std::string& name) const
{
    for (const Key& k : keys_) {
        if (!equalsIgnoringCase(k.path, key))
            continue;
        for (const Value& v : k.values)
            if (equalsIgnoringCase(v.name, name))
                return v.data;
    }
    return std::nullopt;
}

void Registry::set(const std::string& key, const std::string& name, const std::string& data)
{
    Key* k = find(key);
    if (!k) {
        keys_.push_back({key, {}});
        k = &keys_.back();
    }
    for (Value& v : k->values) {
        if (equalsIgnoringCase(v.name, name)) {
            v.data = data;
            return;
        }
    }
    k->values.push_back({name, data});
}

void Registry::remove(const std::string& key, const std::string* name)
{
    Key* k = find(key);
    if (!k)
        return;
    if (name) {
        std::erase_if(k->values, [&](const Value& v) { return equalsIgnoringCase(v.name, *name); });
    }
    if (!name || k->values.empty())
        std::erase_if(keys_, [&](const Key& candidate) { return &candidate == k; });
}

}  // namespace infinstall
