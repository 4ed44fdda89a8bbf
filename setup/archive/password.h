#pragma once
// Finding the password that opens an encrypted entry.
#include "common/package_format/zip_crypto.h"

namespace setup {

class SetupUi;

constexpr int kPasswordPrompts = 3;  // per entry

enum class PasswordResult { Accepted, Rejected, Cancelled };

// Tries the remembered `archivePassword` (80 bytes of Windows-1252, kept up
// to date with each answer), then asks up to kPasswordPrompts times. Answers
// are converted to Windows-1252; an empty one, or one with a character the
// code page lacks, is rejected without a trial. On Accepted `keys` is ready
// for the data.
PasswordResult findPassword(SetupUi& ui, char* archivePassword, const unsigned char* header,
                            unsigned char checkByte, common::ZipKeys& keys);

}  // namespace setup
