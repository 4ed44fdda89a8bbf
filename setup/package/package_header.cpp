#include "setup/package/package_header.h"

#include <stdlib.h>
#include <string.h>

#include "setup/package/ansi_text.h"
#include "setup/package/le_bytes.h"
#include "setup/package/scramble.h"
#include "setup/platform/files.h"

namespace setup {

const char kDefaultWelcomeText[] =
    "\r\r\rBitte klicken Sie \"Installieren\", um die Installation zu starten.";

bool readFixedHeader(int fd, PackageSettings& settings) {
  memset(&settings, 0, sizeof settings);
  unsigned char raw[kFixedHeaderSize];
  if (!readAt(fd, kHeaderOffset, raw, sizeof raw) || raw[0] != 'M' || raw[1] != 'R' ||
      raw[2] != 'I')
    return false;
  PackageHeader& header = settings.header;
  memcpy(header.magic, raw, 3);
  header.keepWindowOpen = raw[3];
  header.productNameLength = raw[4];
  header.infNameLength = raw[5];
  header.adminOnly = raw[6];
  header.noticeLength = raw[7];
  header.welcomeTextLength = static_cast<int32_t>(readLe32(raw + 8));
  header.licenceTextLength = static_cast<int32_t>(readLe32(raw + 12));
  header.hideInfoButton = raw[16];
  header.multiVolume = raw[17];
  header.advancedInf = raw[18];
  header.totalSize = readLe32(raw + 19);
  settings.hasMagic = true;
  return true;
}

// Reads `length` scrambled bytes at `offset` and returns them plain, in UTF-8.
static char* readScrambledText(int fd, long long offset, size_t length) {
  char* raw = static_cast<char*>(malloc(length + 1));
  if (!raw) return nullptr;
  char* text = nullptr;
  if (readAt(fd, offset, raw, length)) {
    scrambleText(raw, length);
    text = ansiToUtf8(raw, length);
  }
  free(raw);
  return text;
}

static char* copyOf(const char* text) {
  const size_t size = strlen(text) + 1;
  char* copy = static_cast<char*>(malloc(size));
  if (copy) memcpy(copy, text, size);
  return copy;
}

bool readVariableHeader(int fd, PackageSettings& settings) {
  const PackageHeader& header = settings.header;
  if (!settings.hasMagic || settings.variablePartRead) return settings.variablePartRead;
  if (header.welcomeTextLength < 0 || header.licenceTextLength < 0) return false;

  const long long productAt = kVariablePartOffset;
  const long long infAt = productAt + header.productNameLength;
  const long long noticeAt = infAt + header.infNameLength;
  const long long welcomeAt = noticeAt + header.noticeLength;
  const long long licenceAt = welcomeAt + header.welcomeTextLength;
  const long long end = licenceAt + header.licenceTextLength;
  const long long size = fileSize(fd);
  // Lengths are only believed when the file really holds that many bytes,
  // which also bounds every allocation below by the file's size.
  if (size < 0 || end > size) return false;

  char productName[256];
  if (!readAt(fd, productAt, productName, header.productNameLength)) return false;
  ansiToUtf8Into(settings.productName, sizeof settings.productName, productName,
                 header.productNameLength);
  if (!readAt(fd, infAt, settings.infName, header.infNameLength)) return false;
  settings.infName[header.infNameLength] = '\0';

  settings.notice = readScrambledText(fd, noticeAt, header.noticeLength);
  settings.welcomeText =
      header.welcomeTextLength == 0
          ? copyOf(kDefaultWelcomeText)
          : readScrambledText(fd, welcomeAt, static_cast<size_t>(header.welcomeTextLength));
  settings.licenceText =
      readScrambledText(fd, licenceAt, static_cast<size_t>(header.licenceTextLength));
  if (!settings.notice || !settings.welcomeText || !settings.licenceText) {
    releasePackageSettings(settings);
    return false;
  }
  settings.archiveStart = end;
  settings.variablePartRead = true;
  return true;
}

void releasePackageSettings(PackageSettings& settings) {
  free(settings.notice);
  free(settings.welcomeText);
  free(settings.licenceText);
  settings.notice = settings.welcomeText = settings.licenceText = nullptr;
  settings.variablePartRead = false;
}

}  // namespace setup
