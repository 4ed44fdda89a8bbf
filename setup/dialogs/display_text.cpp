#include "setup/dialogs/display_text.h"

namespace setup {

QString displayText(const char* utf8) {
  QString text = QString::fromUtf8(utf8);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace setup
