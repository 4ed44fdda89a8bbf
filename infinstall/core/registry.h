#pragma once
// The registry values INF files write, kept in one INI-like text file:
//   [HKLM\SOFTWARE\KARVELO]
//   InstallDir1=/opt/KARVELO
// Key paths and value names compare without regard to case, as in the registry. A backslash
// and a line break in a value are written as \\ and \n.
#include <optional>
#include <string>
#include <vector>

namespace infinstall {

class Registry {
public:
    static Registry fromText(const std::string& text);
    std::string text() const;
    bool empty() const { return keys_.empty(); }

    // `key` is the root and the path, joined by "\": "HKLM\SOFTWARE\KARVELO".
    std::optional<std::string> value(const std::string& key, const std::string& name) const;
    void set(const std::string& key, const std::string& name, const std::string& value);
    // Removes one value (its key, too, once it holds none), or the whole key when `name` is null.
    void remove(const std::string& key, const std::string* name);

private:
    struct Value {
        std::string name, data;
    };
    struct Key {
        std::string path;
        std::vector<Value> values;
    };
    Key* find(const std::string& path);
    std::vector<Key> keys_;
};

}  // namespace infinstall
