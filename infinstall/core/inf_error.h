#pragma once
#include <stdexcept>
#include <string>

namespace infinstall {

// A fault in an INF, with the file and line it concerns in its message (line 0: the file as a
// whole).
class InfError : public std::runtime_error {
public:
    InfError(const std::string& file, int line, const std::string& what);
};

}  // namespace infinstall
