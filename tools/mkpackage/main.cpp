// mkpackage: writes a setup package file (program image, header, ZIP local entries, trailer).
//
//   mkpackage --image FILE --out FILE.run [options] [ARCHIVE-NAME=]FILE...
//
// Each FILE becomes one archive entry named ARCHIVE-NAME (e.g. sounds/sound1.wav=stage/s1.wav);
// without "NAME=" the path itself is the name, minus any leading "./" and "/". Texts are
// taken as UTF-8 and stored in Windows-1252; the notice, welcome and licence texts scrambled.
//
// Header:
//   --image FILE          program image, padded to 35,328 bytes; refused when larger or when
//                         it contains 50 4B 03 04 or 50 4B 05 06
//   --product TEXT        product name (at most 255 bytes)
//   --inf NAME            name of the installation script (at most 255 bytes)
//   --notice TEXT | --notice-file FILE      (at most 255 bytes)
//   --welcome TEXT | --welcome-file FILE    (absent: the setup shows its built-in text)
//   --licence TEXT | --licence-file FILE    (absent: no licence page)
//   --keep-open --admin-only --hide-info --advanced-inf      header flags, 0 unless given
// Entries (apply to every FILE):
//   --deflate (default) | --store, --level 0..9 (Deflate level, default 6)
//   --password P          traditional ZIP encryption, keyed with P in Windows-1252
//   --check-by-time       flag bit 3: the password check byte is the time's high byte
//   --descriptors         a data descriptor after each entry's data (sets flag bit 3 too)
//   --backslash           write "\" instead of "/" in archive names
//   --time "YYYY-MM-DD HH:MM:SS"   entry time (local) instead of each file's mtime
//   --seed N              makes the encryption headers reproducible
// Tail and volumes:
//   --no-trailer          no "RSFX" at the end
//   --end-record[=COMMENT]  a ZIP end record (with COMMENT) in place of the trailer
//   --tail BYTES          these bytes in place of the trailer
//   --append-archive ZIP  bytes of another archive behind the entries (use with --no-trailer
//                         so its own end record closes the file)
//   --volume-size N       split into volumes of at most N bytes: OUT, then OUT with its last
//                         three characters replaced by 001, 002, ...; sets the multi-volume flag
//
// Exit status 0 on success; 1 with a message on standard error otherwise.

#include <cstdio>
#include <string>
#include <vector>

#include "tools/mkpackage/cli.h"
#include "tools/mkpackage/error.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::fputs(mkpackage::usageText(), args.empty() ? stderr : stdout);
        return args.empty() ? 1 : 0;
    }
    try {
        for (const auto& path : mkpackage::writePackage(mkpackage::parseCommandLine(args)))
            std::printf("%s\n", path.c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mkpackage: %s\n", e.what());
        return 1;
    }
}
