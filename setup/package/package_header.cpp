#include "setup/package/package_header.h"

#include <stdlib.h>
#include <string.h>

#include "common/package_format/le_bytes.h"
#include "common/package_format/package_text.h"
#include "setup/platform/files.h"

namespace setup {

const char kDefaultWelcomeText[] =
    "\r\r\rBitte klicken Sie \"Installieren\", um die Installation zu starten.";

bool readFixedHeader(int fd, PackageSettings& settings)
{
    memset(&settings, 0, sizeof settings);
    unsigned char raw[kFixedHeaderSize];
    const unsigned char* magic = raw + common::kMagicAt;
    if (!readAt(fd, kHeaderOffset, raw, sizeof raw) || magic[0] != 'M' || magic[1] != 'R' || magic[2] != 'I')
        return false;
    PackageHeader& header = settings.header;
    memcpy(header.magic, magic, 3);
    header.keepWindowOpen = raw[common::kKeepWindowOpenAt];
    header.productNameLength = raw[common::kProductNameLengthAt];
    header.infNameLength = raw[common::kInfNameLengthAt];
    header.adminOnly = raw[common::kAdminOnlyAt];
    header.noticeLength = raw[common::kNoticeLengthAt];
    header.welcomeTextLength = static_cast<int32_t>(common::readLe32(raw + common::kWelcomeTextLengthAt));
    header.licenceTextLength = static_cast<int32_t>(common::readLe32(raw + common::kLicenceTextLengthAt));
    header.hideInfoButton = raw[common::kHideInfoButtonAt];
    header.multiVolume = raw[common::kMultiVolumeAt];
    header.advancedInf = raw[common::kAdvancedInfAt];
    header.totalSize = common::readLe32(raw + common::kTotalSizeAt);
    settings.hasMagic = true;
    return true;
}

// A new UTF-8 copy of `length` Windows-1252 bytes (malloc'd); nullptr when memory runs out.
static char* utf8CopyOf(const char* text, size_t length)
{
    // No Windows-1252 character takes more than three bytes in UTF-8.
    const size_t size = 3 * length + 1;
    char* result = static_cast<char*>(malloc(size));
    if (result)
        common::windows1252ToUtf8<common::kPackageTextReading>(result, size, text, length);
    return result;
}

// Reads `length` scrambled bytes at `offset` and returns them plain, in UTF-8.
static char* readScrambledText(int fd, long long offset, size_t length)
{
    char* raw = static_cast<char*>(malloc(length + 1));
    if (!raw)
        return nullptr;
    char* text = nullptr;
    if (readAt(fd, offset, raw, length)) {
        common::scrambleText(raw, length);
        text = utf8CopyOf(raw, length);
    }
    free(raw);
    return text;
}

static char* copyOf(const char* text)
{
    const size_t size = strlen(text) + 1;
    char* copy = static_cast<char*>(malloc(size));
    if (copy)
        memcpy(copy, text, size);
    return copy;
}

bool readVariableHeader(int fd, PackageSettings& settings)
{
    const PackageHeader& header = settings.header;
    if (!settings.hasMagic || settings.variablePartRead)
        return settings.variablePartRead;
    if (header.welcomeTextLength < 0 || header.licenceTextLength < 0)
        return false;

    const long long productAt = kVariablePartOffset;
    const long long infAt = productAt + header.productNameLength;
    const long long noticeAt = infAt + header.infNameLength;
    const long long welcomeAt = noticeAt + header.noticeLength;
    const long long licenceAt = welcomeAt + header.welcomeTextLength;
    const long long end = licenceAt + header.licenceTextLength;
    const long long size = fileSize(fd);
    // Lengths are only believed when the file really holds that many bytes,
    // which also bounds every allocation below by the file's size.
    if (size < 0 || end > size)
        return false;

    char productName[256];
    if (!readAt(fd, productAt, productName, header.productNameLength))
        return false;
    common::windows1252ToUtf8<common::kPackageTextReading>(settings.productName, sizeof settings.productName,
                                                           productName, header.productNameLength);
    if (!readAt(fd, infAt, settings.infName, header.infNameLength))
        return false;
    settings.infName[header.infNameLength] = '\0';

    settings.notice = readScrambledText(fd, noticeAt, header.noticeLength);
    settings.welcomeText =
        header.welcomeTextLength == 0
            ? copyOf(kDefaultWelcomeText)
            : readScrambledText(fd, welcomeAt, static_cast<size_t>(header.welcomeTextLength));
    settings.licenceText = readScrambledText(fd, licenceAt, static_cast<size_t>(header.licenceTextLength));
    if (!settings.notice || !settings.welcomeText || !settings.licenceText) {
        releasePackageSettings(settings);
        return false;
    }
    settings.archiveStart = end;
    settings.variablePartRead = true;
    return true;
}

void releasePackageSettings(PackageSettings& settings)
{
    free(settings.notice);
    free(settings.welcomeText);
    free(settings.licenceText);
    settings.notice = settings.welcomeText = settings.licenceText = nullptr;
    settings.variablePartRead = false;
}

}  // namespace setup
