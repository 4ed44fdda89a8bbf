#include "setup/package/completeness.h"

#include <stdlib.h>
#include <string.h>

#include "common/package_format/le_bytes.h"
#include "common/package_format/zip_records.h"
#include "setup/package/package_header.h"
#include "setup/driver/setup_ui.h"
#include "setup/platform/files.h"

namespace setup {

// An end record with a comment of at most 65,535 bytes.
constexpr long long kEndRecordSize = common::kEndRecordSize;
constexpr long long kLongestTail = kEndRecordSize + 65535 + 1;

void reportIncompletePackage(SetupUi& ui)
{
    reportError(ui, "Dateigröße inkorrekt - bitte versuchen Sie, dieses Programm nochmals downzuloaden.");
}

static bool endsWithTrailer(int fd, long long size)
{
    char trailer[4];
    // Only the first three letters count.
    return readAt(fd, size - 4, trailer, sizeof trailer) && trailer[0] == 'R' && trailer[1] == 'S' &&
           trailer[2] == 'F';
}

// Looks for an end record whose comment ends exactly where the file ends. A
// comment said to reach past the end means the file was cut short, so it
// does not count.
static bool endsWithEndRecord(int fd, long long size, long long tailSize)
{
    unsigned char* tail = static_cast<unsigned char*>(malloc(static_cast<size_t>(tailSize)));
    if (!tail)
        return false;
    const long long tailStart = size - tailSize;
    bool found = false;
    if (readAt(fd, tailStart, tail, static_cast<size_t>(tailSize))) {
        const uint32_t signature = common::endRecordSignatureAtRunTime();
        for (long long i = 0; i <= tailSize - kEndRecordSize && !found; ++i) {
            if (common::readLe32(tail + i) != signature)
                continue;
            const long long comment = common::readLe16(tail + i + common::kEndRecordCommentLengthAt);
            found = size == tailStart + i + kEndRecordSize + comment;
        }
    }
    free(tail);
    return found;
}

bool checkPackageComplete(int fd, const PackageSettings& settings, SetupUi& ui)
{
    bool complete = false;
    // Without a readable header there is no archive start to measure from.
    if (settings.variablePartRead) {
        const long long size = fileSize(fd);
        long long tailSize = size - settings.archiveStart;
        if (tailSize > kLongestTail)
            tailSize = kLongestTail;
        if (size >= 0 && tailSize > kEndRecordSize)
            complete = endsWithTrailer(fd, size) || endsWithEndRecord(fd, size, tailSize);
    }
    if (!complete)
        reportIncompletePackage(ui);
    return complete;
}

}  // namespace setup
