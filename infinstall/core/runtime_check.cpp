#include "infinstall/core/runtime_check.h"

#include <dlfcn.h>
#include <elf.h>

#include <algorithm>
#include <cstring>

#include "infinstall/core/paths.h"

namespace infinstall {
namespace {

template <typename T>
bool readAt(const std::string& bytes, uint64_t offset, T& out)
{
    if (offset > bytes.size() || bytes.size() - offset < sizeof(T))
        return false;
    std::memcpy(&out, bytes.data() + offset, sizeof(T));
    return true;
}

// The file offset of a virtual address, through the loadable segments.
bool fileOffset(const std::vector<Elf64_Phdr>& segments, uint64_t address, uint64_t& offset)
{
    for (const Elf64_Phdr& s : segments) {
        if (s.p_type == PT_LOAD && address >= s.p_vaddr && address - s.p_vaddr < s.p_filesz) {
            offset = s.p_offset + (address - s.p_vaddr);
            return true;
        }
    }
    return false;
}

void addOnce(std::vector<std::string>& list, const std::string& item)
{
    if (std::find(list.begin(), list.end(), item) == list.end())
        list.push_back(item);
}

}  // namespace

// 64-bit little-endian files only, which is what this installer is built for.
ElfNeeds readElfNeeds(const std::string& bytes)
{
    ElfNeeds needs;
    Elf64_Ehdr header;
    if (!readAt(bytes, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB)
        return needs;
    std::vector<Elf64_Phdr> segments(header.e_phnum);
    for (size_t i = 0; i < segments.size(); ++i)
        if (!readAt(bytes, header.e_phoff + i * sizeof(Elf64_Phdr), segments[i]))
            return needs;
    needs.valid = true;
    for (const Elf64_Phdr& s : segments) {
        if (s.p_type == PT_INTERP)
            needs.program = true;
        if (s.p_type != PT_DYNAMIC)
            continue;
        std::vector<uint64_t> names;
        uint64_t strings = 0;
        for (uint64_t at = s.p_offset; at + sizeof(Elf64_Dyn) <= s.p_offset + s.p_filesz;
             at += sizeof(Elf64_Dyn)) {
            Elf64_Dyn entry;
            if (!readAt(bytes, at, entry) || entry.d_tag == DT_NULL)
                break;
            if (entry.d_tag == DT_NEEDED)
                names.push_back(entry.d_un.d_val);
            if (entry.d_tag == DT_STRTAB)
                strings = entry.d_un.d_ptr;
        }
        uint64_t table = 0;
        if (!fileOffset(segments, strings, table))
            return {};
        for (uint64_t name : names) {
            if (table + name >= bytes.size())
                return {};
            needs.libraries.emplace_back(bytes.c_str() + table + name);
        }
    }
    return needs;
}

RuntimeReport checkRuntime(const std::vector<FileCopy>& copies, FileSystem& files,
                           const std::function<std::string(const std::string&)>& load)
{
    std::vector<std::string> shipped;
    for (const FileCopy& copy : copies)
        shipped.push_back(nameOf(copy.target));
    RuntimeReport report;
    for (const FileCopy& copy : copies) {
        std::string bytes, ignored;
        if (copy.mode != 0755 || !files.readFile(copy.source, bytes, ignored))
            continue;
        const ElfNeeds needs = readElfNeeds(bytes);
        for (const std::string& library : needs.libraries) {
            if (std::find(shipped.begin(), shipped.end(), library) != shipped.end())
                continue;
            const std::string missing = load(library);
            if (missing.empty())
                continue;
            addOnce(needs.program ? report.programPackages : report.modulePackages, packageOf(missing));
            if (!needs.program)
                addOnce(report.modules, nameOf(copy.target));
        }
    }
    return report;
}

std::string loadLibrary(const std::string& name)
{
    // Kept loaded: the libraries of a running Qt program are not unloaded safely.
    if (dlopen(name.c_str(), RTLD_LAZY | RTLD_LOCAL))
        return {};
    const char* error = dlerror();
    const std::string text = error ? error : "";
    // "libfoo.so.1: cannot open shared object file: ..." names the library that is missing.
    const size_t colon = text.find(':');
    return colon != std::string::npos && colon > 0 ? text.substr(0, colon) : name;
}

std::string packageOf(const std::string& library)
{
    static const std::pair<const char*, const char*> kPackages[] = {
        {"libQt6Core.so.6", "libqt6core6"},
        {"libQt6Gui.so.6", "libqt6gui6"},
        {"libQt6Widgets.so.6", "libqt6widgets6"},
        {"libQt6Network.so.6", "libqt6network6"},
        {"libQt6DBus.so.6", "libqt6dbus6"},
        {"libpulse.so.0", "libpulse0"},
        {"libstdc++.so.6", "libstdc++6"},
        {"libgcc_s.so.1", "libgcc-s1"},
        {"libz.so.1", "zlib1g"},
    };
    for (const auto& [name, package] : kPackages)
        if (library == name)
            return package;
    return library;
}

}  // namespace infinstall
