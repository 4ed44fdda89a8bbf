// A fresh folder per test, removed afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kv::test {

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kv_highscore_XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file() const { return path_ / "P1.dat"; }

    std::vector<unsigned char> bytes() const
    {
        std::ifstream in(file(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void setBytes(const std::vector<unsigned char>& content) const
    {
        std::ofstream out(file(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
    }

private:
    std::filesystem::path path_;
};

// 39 bytes of one record: points little-endian, then the 37 text bytes as given.
inline std::vector<unsigned char> recordBytes(int points, const std::string& name20, const std::string& date17)
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
