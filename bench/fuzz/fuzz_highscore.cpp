// libFuzzer target: a hostile P1.dat, as any local user can leave in a shared installation, and
// what the game does with it: start-up reads the lowest highscore, the table window loads and
// shows the records, and a new result is ranked in and written back.
// Input: the new result's points (2 bytes, little-endian), the length n of its name (1 byte,
// taken modulo 64), n bytes of name, then the whole file. Besides the sanitizers, it traps when
// a read fails, a cell text is not what the window can show, the file does not hold what the
// window shows, or one of the ten best records that could be read is lost.

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/highscore/date_text.h"
#include "game/highscore/highscore_table.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const char* what)
{
    fprintf(stderr, "highscore fuzz: %s\n", what);
    __builtin_trap();
}

// The folder P1.dat is written to: run-fuzz.sh names it in KV_FUZZ_ROOT and removes it
// afterwards; without it a fresh one is made and removed at exit.
char gFolder[256] = "/tmp/kv-fuzz-highscore.XXXXXX";

const fs::path& folder()
{
    static const fs::path path = [] {
        if (const char* given = getenv("KV_FUZZ_ROOT")) {
            snprintf(gFolder, sizeof gFolder, "%s", given);
            std::error_code error;
            fs::create_directories(gFolder, error);
            if (error)
                abort();
        } else {
            if (!mkdtemp(gFolder))
                abort();
            atexit([] {
                std::error_code ignored;
                fs::remove_all(gFolder, ignored);
            });
        }
        return fs::path(gFolder);
    }();
    return path;
}

// Overwritten in place and then cut, not truncated first: ext4 flushes a file that was emptied
// and written again when it is closed, which would make every run wait for the disk.
void writeFile(const std::string& bytes)
{
    const int fd = open(kv::highscoreFilePath(folder()).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 || pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()) ||
        ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || close(fd) != 0)
        abort();
}

std::string fileBytes()
{
    std::ifstream in(kv::highscoreFilePath(folder()), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The number of characters of well-formed UTF-8 (shortest forms, no surrogates), or -1.
long utf8Characters(const std::string& text)
{
    long count = 0;
    for (size_t i = 0; i < text.size(); ++count) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80                   ? 1
                              : lead >= 0xC2 && lead < 0xE0 ? 2
                              : lead >= 0xE0 && lead < 0xF0 ? 3
                              : lead >= 0xF0 && lead < 0xF5 ? 4
                                                            : 0;
        if (length == 0 || i + length > text.size())
            return -1;
        uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return -1;
            code = code << 6 | (next & 0x3F);
        }
        static const uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            return -1;
        i += length;
    }
    return count;
}

void checkShownTexts(const kv::HighscoreTable& table)
{
    for (const kv::HighscoreRecord& record : table) {
        const kv::HighscoreRowTexts texts = kv::highscoreRowTexts(record);
        if (texts.points != std::to_string(record.points))
            fail("points text");
        if (utf8Characters(texts.name) != 20)
            fail("name text is not 20 characters of UTF-8");
        if (utf8Characters(texts.date) != 17)
            fail("date text is not 17 characters of UTF-8");
    }
}

std::vector<kv::HighscoreRecord> tenBest(kv::HighscoreTable table)
{
    kv::rankHighscoreTable(table);
    return {table.begin(), table.begin() + 10};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const uint8_t* end = data + size;
    auto take = [&](size_t n) {
        const size_t got = std::min<size_t>(n, static_cast<size_t>(end - data));
        std::string bytes(reinterpret_cast<const char*>(data), got);
        data += got;
        return bytes;
    };
    const std::string points = take(2) + std::string(2, '\0');
    const size_t nameLength = static_cast<unsigned char>(take(1).append(1, '\0')[0]) % 64;
    kv::HighscoreRecord entry;
    entry.points = static_cast<int16_t>(static_cast<unsigned char>(points[0]) |
                                        static_cast<unsigned char>(points[1]) << 8);
    entry.name = take(nameLength);
    entry.date = kv::currentDateText();
    const std::string file = take(static_cast<size_t>(end - data));
    writeFile(file);

    // Start-up: the lowest shown rank.
    const std::optional<int16_t> lowest = kv::readLowestHighscore(folder());
    if (!lowest)
        fail("start-up could not read the file");

    // The table window: every record read, every cell text showable.
    kv::HighscoreTable shown;
    if (!kv::loadHighscoreTable(shown, folder()))
        fail("the table could not be loaded");
    if (*lowest != shown[kv::kLowestShownRecord - 1].points)
        fail("lowest highscore is not record 10");
    checkShownTexts(shown);

    // A new result ranked in and written back.
    kv::HighscoreTable ranked;
    if (!kv::storeNewHighscore(entry, ranked, folder()))
        fail("the new result could not be stored");
    checkShownTexts(ranked);
    for (size_t i = 1; i < ranked.size(); ++i)
        if (ranked[i - 1].points < ranked[i].points)
            fail("the stored table is not ranked");
    kv::HighscoreTable reread;
    if (!kv::loadHighscoreTable(reread, folder()) || reread != ranked)
        fail("the file does not hold the table the window shows");

    std::vector<kv::HighscoreRecord> kept(ranked.begin(), ranked.end());
    const kv::HighscoreRecord stored = kv::decodeHighscoreRecord(kv::encodeHighscoreRecord(entry));
    const auto found = std::find(kept.begin(), kept.end(), stored);
    if (found == kept.end())
        fail("the new result is not in the table");
    kept.erase(found);
    for (const kv::HighscoreRecord& best : tenBest(shown)) {
        const auto at = std::find(kept.begin(), kept.end(), best);
        if (at == kept.end())
            fail("one of the ten best records was lost");
        kept.erase(at);
    }

    // Whatever followed the eleven records stays as it was.
    const std::string after = fileBytes();
    if (after.size() != std::max(file.size(), kv::kHighscoreFileSize))
        fail("file size changed");
    if (file.size() > kv::kHighscoreFileSize &&
        after.compare(kv::kHighscoreFileSize, std::string::npos, file, kv::kHighscoreFileSize) != 0)
        fail("bytes after record 11 changed");
    return 0;
}
