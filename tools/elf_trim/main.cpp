// elf_trim FILE: cuts a linked executable in place down to what the system loads from it, for
// the setup image, which must fit the slot the package format reserves for it.
//
// Exit status 0 on success; 1 with a message on standard error otherwise.

#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "tools/elf_trim/elf_trim.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: elf_trim FILE\n", stderr);
        return 1;
    }
    try {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in)
            throw std::runtime_error("cannot open the file");
        const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in),
                                             std::istreambuf_iterator<char>()};
        const std::vector<std::uint8_t> trimmed = elf_trim::trimToLoadedBytes(file);
        std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(trimmed.data()),
                  static_cast<std::streamsize>(trimmed.size()));
        out.close();
        if (!out)
            throw std::runtime_error("cannot write the file");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "elf_trim: %s: %s\n", argv[1], e.what());
        return 1;
    }
}
