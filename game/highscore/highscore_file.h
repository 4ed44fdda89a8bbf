// Random access to the records of the highscore file, for one action at a time.
#pragma once

#include <filesystem>

#include "game/highscore/highscore_record.h"

namespace kv {

inline constexpr int kHighscoreRecordCount = 11;
inline constexpr std::size_t kHighscoreFileSize = kHighscoreRecordCount * kHighscoreRecordSize;

// "P1.dat" in `folder`; with no folder the relative name, i.e. in the working directory.
std::filesystem::path highscoreFilePath(const std::filesystem::path& folder = {});

// Opens the file on construction and closes it on destruction; records are numbered 1 to 11 and
// record n lies at byte (n - 1) * 39. The game ignores failures, but every operation reports
// them so a caller can choose.
class HighscoreFile {
public:
    // Opens for reading and writing and creates the file empty when it is missing. A file that
    // exists but may not be written is opened for reading only.
    explicit HighscoreFile(const std::filesystem::path& path);
    ~HighscoreFile();
    HighscoreFile(const HighscoreFile&) = delete;
    HighscoreFile& operator=(const HighscoreFile&) = delete;

    bool isOpen() const { return descriptor_ >= 0; }
    bool isWritable() const { return writable_; }

    // A record beyond the end of the file reads as blank; so do the missing bytes of a record
    // the file ends in. Bytes after record 11 are never looked at. On failure `record` is blank.
    bool read(int number, HighscoreRecord& record);

    // Writes only the record's own 39 bytes. When the file ends before the record, the gap is
    // filled with blank records first, so the file never holds a stretch of zero bytes.
    bool write(int number, const HighscoreRecord& record);

    // Reports whether everything written reached the file.
    bool close();

private:
    int descriptor_ = -1;
    bool writable_ = false;
};

}  // namespace kv
