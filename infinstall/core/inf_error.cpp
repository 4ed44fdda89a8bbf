#include "infinstall/core/inf_error.h"

namespace infinstall {

InfError::InfError(const std::string& file, int line, const std::string& what)
    : std::runtime_error(line > 0 ? file + ", Zeile " + std::to_string(line) + ": " + what
                                  : file + ": " + what)
{
}

}  // namespace infinstall
