#include "setup/archive/password.h"

#include <string.h>

#include "setup/package/setup_ui.h"

namespace setup {

constexpr int kPasswordSize = 80;

PasswordResult findPassword(SetupUi& ui, char* archivePassword, const unsigned char* header,
                            unsigned char checkByte, ZipKeys& keys) {
  if (archivePassword[0] != '\0' &&
      passwordOpens(archivePassword, strlen(archivePassword), header, checkByte, keys))
    return PasswordResult::Accepted;
  for (int prompt = 0; prompt < kPasswordPrompts; ++prompt) {
    char entered[kPasswordSize];
    memset(entered, 0, sizeof entered);
    int length = 0;
    if (!ui.askPassword(entered, &length)) return PasswordResult::Cancelled;
    // Whatever the dialog claims, the text ends at its first NUL and never
    // runs past the buffer.
    if (length < 0) length = 0;
    if (length > kPasswordSize - 1) length = kPasswordSize - 1;
    entered[length] = '\0';
    memcpy(archivePassword, entered, kPasswordSize);
    const size_t used = strlen(entered);
    if (used != 0 && passwordOpens(entered, used, header, checkByte, keys))
      return PasswordResult::Accepted;
  }
  return PasswordResult::Rejected;
}

}  // namespace setup
