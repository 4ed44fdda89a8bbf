#include "setup/archive/password.h"

#include <string.h>

#include "setup/package/ansi_text.h"
#include "setup/driver/setup_ui.h"

namespace setup {

// The remembered password: 79 bytes of Windows-1252 and the NUL.
constexpr size_t kPasswordSize = 80;

PasswordResult findPassword(SetupUi& ui, char* archivePassword, const unsigned char* header,
                            unsigned char checkByte, ZipKeys& keys) {
  if (archivePassword[0] != '\0' &&
      passwordOpens(archivePassword, strlen(archivePassword), header, checkByte, keys))
    return PasswordResult::Accepted;
  for (int prompt = 0; prompt < kPasswordPrompts; ++prompt) {
    char entered[kPasswordEntrySize];
    memset(entered, 0, sizeof entered);
    int length = 0;
    if (!ui.askPassword(entered, &length)) return PasswordResult::Cancelled;
    // Whatever the dialog claims, the text ends at its first NUL and never
    // runs past the buffer.
    if (length < 0) length = 0;
    if (length > kPasswordEntrySize - 1) length = kPasswordEntrySize - 1;
    entered[length] = '\0';
    // Packages are encrypted with passwords in their own code page, like all
    // their texts. A character the code page lacks cannot be part of such a
    // password: the answer is simply wrong.
    const bool known = utf8ToAnsi(archivePassword, kPasswordSize, entered);
    const size_t used = strlen(archivePassword);
    if (known && used != 0 && passwordOpens(archivePassword, used, header, checkByte, keys))
      return PasswordResult::Accepted;
  }
  return PasswordResult::Rejected;
}

}  // namespace setup
