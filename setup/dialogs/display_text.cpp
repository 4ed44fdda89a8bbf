#include "setup/dialogs/display_text.h"

#include <stdlib.h>
#include <string.h>

namespace setup {

QString displayText(const char* utf8)
{
    // Line breaks are mended in the bytes: cheaper for the image than asking
    // QString to replace them.
    const size_t length = strlen(utf8);
    char* lines = static_cast<char*>(malloc(length + 1));
    if (!lines)
        return QString::fromUtf8(utf8);
    size_t used = 0;
    for (size_t i = 0; i < length; ++i) {
        if (utf8[i] == '\r' && utf8[i + 1] == '\n')
            continue;  // the LF follows
        lines[used++] = utf8[i] == '\r' ? '\n' : utf8[i];
    }
    const QString text = QString::fromUtf8(lines, static_cast<qsizetype>(used));
    free(lines);
    return text;
}

}  // namespace setup
