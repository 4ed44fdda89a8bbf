#pragma once
// The setup's texts carry Windows line breaks (CR LF, or a lone CR); Qt
// breaks lines at LF.
#include <QString>

namespace setup {

QString displayText(const char* utf8);

}  // namespace setup
