#pragma once
// The built-in opening of the information box.

namespace setup {

constexpr int kFixedNoticeLength = 62;  // bytes in Windows-1252, as stored

// Unscrambles the built-in text on first use; UTF-8, lives for the run.
const char* fixedNotice();

}  // namespace setup
