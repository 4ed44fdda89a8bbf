#include "setup/platform/system_paths.h"

#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "setup/platform/path_text.h"

namespace setup {

bool temporaryFolder(char* out, size_t size)
{
    const char* fromEnvironment = getenv("TMPDIR");
    const char* base = fromEnvironment && fromEnvironment[0] == '/' ? fromEnvironment : "/tmp";
    if (!copyText(out, size, base))
        return false;
    if (out[strlen(out) - 1] == '/')
        return true;
    return appendText(out, size, "/");
}

bool systemFolder(char* out, size_t size)
{
    return copyText(out, size, "/var/tmp/");
}

bool ownExecutablePath(char* out, size_t size)
{
    if (size == 0)
        return false;
    const ssize_t length = readlink("/proc/self/exe", out, size - 1);
    // A result that fills the buffer may have been cut.
    if (length <= 0 || static_cast<size_t>(length) >= size - 1) {
        out[0] = '\0';
        return false;
    }
    out[length] = '\0';
    return true;
}

}  // namespace setup
