#include "game/highscore/highscore_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "common/posix/retrying_io.h"

namespace kv {
namespace {

const HighscoreRecordBytes& blankRecordBytes()
{
    static const HighscoreRecordBytes bytes = encodeHighscoreRecord(HighscoreRecord{});
    return bytes;
}

bool validNumber(int number)
{
    return number >= 1 && number <= kHighscoreRecordCount;
}

off_t offsetOf(int number)
{
    return static_cast<off_t>(number - 1) * kHighscoreRecordSize;
}

// Fills [from, to) with the bytes blank records have at those positions.
bool fillWithBlankRecords(int descriptor, off_t from, off_t to)
{
    std::vector<unsigned char> gap;
    gap.reserve(static_cast<std::size_t>(to - from));
    for (off_t position = from; position < to; ++position) {
        gap.push_back(blankRecordBytes()[static_cast<std::size_t>(position) % kHighscoreRecordSize]);
    }
    return common::writeFullyAt(descriptor, gap.data(), gap.size(), from);
}

}  // namespace

std::filesystem::path highscoreFilePath(const std::filesystem::path& folder)
{
    return folder.empty() ? std::filesystem::path("P1.dat") : folder / "P1.dat";
}

HighscoreFile::HighscoreFile(const std::filesystem::path& path)
{
    do {
        descriptor_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    } while (descriptor_ < 0 && errno == EINTR);
    writable_ = descriptor_ >= 0;
    if (descriptor_ < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        do {
            descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        } while (descriptor_ < 0 && errno == EINTR);
    }
    if (descriptor_ >= 0) {
        struct stat status {};
        if (fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode)) {
            ::close(descriptor_);  // a folder or device named P1.dat is no highscore file
            descriptor_ = -1;
            writable_ = false;
        }
    }
}

HighscoreFile::~HighscoreFile()
{
    close();
}

bool HighscoreFile::read(int number, HighscoreRecord& record)
{
    record = HighscoreRecord{};
    if (!isOpen() || !validNumber(number))
        return false;
    HighscoreRecordBytes bytes = blankRecordBytes();
    // A file that ends early leaves the rest of the record blank.
    if (common::readFullyAt(descriptor_, bytes.data(), bytes.size(), offsetOf(number)) < 0) {
        return false;
    }
    record = decodeHighscoreRecord(bytes);
    return true;
}

bool HighscoreFile::write(int number, const HighscoreRecord& record)
{
    if (!isWritable() || !validNumber(number))
        return false;
    struct stat status {};
    if (fstat(descriptor_, &status) != 0)
        return false;
    const off_t offset = offsetOf(number);
    if (status.st_size < offset && !fillWithBlankRecords(descriptor_, status.st_size, offset)) {
        return false;
    }
    const HighscoreRecordBytes bytes = encodeHighscoreRecord(record);
    return common::writeFullyAt(descriptor_, bytes.data(), bytes.size(), offset);
}

bool HighscoreFile::close()
{
    if (!isOpen())
        return false;
    const bool closed = ::close(descriptor_) == 0;
    descriptor_ = -1;
    writable_ = false;
    return closed;
}

}  // namespace kv
