// The setup image's trimmer on a real program: it must still run, and nothing it loads may go.
#include <elf.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/elf_trim/elf_trim.h"
#include "tests/setup/support/temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

TEST(ElfTrim, KeepsWhatIsLoadedAndTheProgramStillRuns)
{
    const std::string original = setup::testing::TempDir::read("/bin/true");
    ASSERT_FALSE(original.empty());
    const Bytes source = bytesOf(original);
    const Bytes trimmed = elf_trim::trimToLoadedBytes(source);

    Elf64_Ehdr header;
    std::memcpy(&header, trimmed.data(), sizeof header);
    EXPECT_EQ(header.e_shnum, 0);
    EXPECT_EQ(header.e_shoff, 0u);
    std::uint64_t loadedEnd = 0;
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr segment;
        std::memcpy(&segment, trimmed.data() + header.e_phoff + i * sizeof segment, sizeof segment);
        loadedEnd = std::max(loadedEnd, segment.p_offset + segment.p_filesz);
    }
    EXPECT_EQ(trimmed.size(), loadedEnd);
    EXPECT_LT(trimmed.size(), original.size());
    // Everything kept is byte for byte the original, apart from the header's section fields.
    EXPECT_TRUE(std::equal(trimmed.begin() + sizeof header, trimmed.end(), source.begin() + sizeof header));

    setup::testing::TempDir dir;
    const std::string copy = dir.write("true", std::string(trimmed.begin(), trimmed.end()));
    ASSERT_EQ(chmod(copy.c_str(), 0755), 0);
    const int status = std::system(("'" + copy + "'").c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    // A second pass finds nothing more to take.
    EXPECT_EQ(elf_trim::trimToLoadedBytes(trimmed), trimmed);
}

TEST(ElfTrim, RefusesWhatIsNoWholeElfFile)
{
    const std::string program = setup::testing::TempDir::read("/bin/true");
    for (const std::string& bad : {std::string("#!/bin/sh\n"),
                                   std::string("\x7f"
                                               "ELF"),
                                   program.substr(0, 200)}) {
        EXPECT_THROW(elf_trim::trimToLoadedBytes(bytesOf(bad)), std::runtime_error) << bad.size();
    }
}

}  // namespace
