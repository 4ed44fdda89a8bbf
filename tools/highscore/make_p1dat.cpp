// Writes the highscore file that is installed with the game: make_p1dat <out path>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "game/highscore/highscore_file.h"
#include "game/highscore/highscore_table.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_p1dat <out path>\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    // Records are written in place, so a longer file from an earlier run would keep its tail.
    std::error_code ignored;
    std::filesystem::remove(out, ignored);

    kv::HighscoreFile file(out);
    const bool written = kv::writeHighscoreTable(file, kv::shippedHighscoreTable());
    if (!file.close() || !written) {
        std::fprintf(stderr, "make_p1dat: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
