#include "setup/archive/password.h"

#include <string.h>

#include "common/package_format/package_text.h"
#include "setup/driver/setup_ui.h"

namespace setup {

// The remembered password: 79 bytes of Windows-1252 and the NUL.
constexpr size_t kPasswordSize = 80;

PasswordResult findPassword(SetupUi& ui, char* archivePassword, const unsigned char* header,
                            unsigned char checkByte, common::ZipKeys& keys)
{
    if (archivePassword[0] != '\0' &&
        common::passwordOpens(archivePassword, strlen(archivePassword), header, checkByte, keys))
        return PasswordResult::Accepted;
    for (int prompt = 0; prompt < kPasswordPrompts; ++prompt) {
        char entered[kPasswordEntrySize];
        memset(entered, 0, sizeof entered);
        int length = 0;
        if (!ui.askPassword(entered, &length))
            return PasswordResult::Cancelled;
        // Whatever the dialog claims, the text ends at its first NUL and never
        // runs past the buffer.
        if (length < 0)
            length = 0;
        if (length > kPasswordEntrySize - 1)
            length = kPasswordEntrySize - 1;
        entered[length] = '\0';
        // Packages are encrypted with passwords in their own code page, like all
        // their texts. An answer that does not convert whole is remembered as none.
        const bool known = common::utf8ToWindows1252<common::kPasswordKeying>(archivePassword, kPasswordSize,
                                                                              entered, strlen(entered))
                               .status == common::Converted::Done;
        const size_t used = strlen(archivePassword);
        if (known && used != 0 && common::passwordOpens(archivePassword, used, header, checkByte, keys))
            return PasswordResult::Accepted;
    }
    return PasswordResult::Rejected;
}

}  // namespace setup
