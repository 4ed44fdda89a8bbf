// A fresh folder per test, removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/game/highscore/record_entry.h"
#include "tests/support/scratch_folder.h"

namespace kv::test {

class TempFolder : public ScratchFolder {
public:
    TempFolder() : ScratchFolder("kv_highscore") {}

    std::filesystem::path file() const { return path() / "P1.dat"; }

    std::vector<unsigned char> bytes() const
    {
        std::ifstream in(file(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void setBytes(const std::vector<unsigned char>& content) const
    {
        std::ofstream out(file(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(content.data()),
                  static_cast<std::streamsize>(content.size()));
    }
};

// 39 bytes of one record: points little-endian, then the 37 text bytes as given.
inline std::vector<unsigned char> recordBytes(int points, const std::string& name20,
                                              const std::string& date17)
{
    std::vector<unsigned char> bytes{static_cast<unsigned char>(points & 0xFF),
                                     static_cast<unsigned char>((points >> 8) & 0xFF)};
    bytes.insert(bytes.end(), name20.begin(), name20.end());
    bytes.insert(bytes.end(), date17.begin(), date17.end());
    return bytes;
}

inline std::vector<unsigned char> blankRecordBytes()
{
    return recordBytes(0, std::string(20, ' '), std::string(17, ' '));
}

}  // namespace kv::test
