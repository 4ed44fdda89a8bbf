#pragma once
// Cuts a linked executable down to what the system loads from it.

#include <cstdint>
#include <string>
#include <vector>

namespace elf_trim {

// Drops everything behind the last byte a program header refers to (the section header
// table, the section names, the compiler's notes) and marks the file as having no section
// headers, which running it never needs. Returns the trimmed bytes; throws std::runtime_error
// for anything but a 64-bit little-endian ELF file.
std::vector<std::uint8_t> trimToLoadedBytes(const std::vector<std::uint8_t>& file);

}  // namespace elf_trim
