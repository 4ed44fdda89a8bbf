#include "tools/elf_trim/elf_trim.h"

#include <elf.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace elf_trim {

std::vector<std::uint8_t> trimToLoadedBytes(const std::vector<std::uint8_t>& file)
{
    Elf64_Ehdr header;
    if (file.size() < sizeof header || std::memcmp(file.data(), ELFMAG, SELFMAG) != 0 ||
        file[EI_CLASS] != ELFCLASS64 || file[EI_DATA] != ELFDATA2LSB)
        throw std::runtime_error("not a 64-bit little-endian ELF file");
    std::memcpy(&header, file.data(), sizeof header);

    const std::uint64_t tableEnd = header.e_phoff + std::uint64_t{header.e_phnum} * header.e_phentsize;
    if (header.e_phentsize != sizeof(Elf64_Phdr) || tableEnd > file.size())
        throw std::runtime_error("program header table missing or cut off");
    std::uint64_t end = tableEnd;
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr segment;
        std::memcpy(&segment, file.data() + header.e_phoff + i * sizeof segment, sizeof segment);
        end = std::max(end, segment.p_offset + segment.p_filesz);
    }
    if (end > file.size())
        throw std::runtime_error("a segment reaches past the end of the file");

    std::vector<std::uint8_t> trimmed(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(end));
    // Section headers inside the loaded part would stay valid; only a table that is cut goes.
    if (header.e_shoff + std::uint64_t{header.e_shnum} * header.e_shentsize > end) {
        header.e_shoff = 0;
        header.e_shnum = 0;
        header.e_shstrndx = SHN_UNDEF;
        std::memcpy(trimmed.data(), &header, sizeof header);
    }
    return trimmed;
}

}  // namespace elf_trim
