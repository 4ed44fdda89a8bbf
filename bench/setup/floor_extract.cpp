// floor_extract: the least work an extraction of our packages can do, as a floor for the
// timings. Maps the package, walks the local headers from the archive start, decrypts,
// inflates with zlib, sums the CRC-32 and writes each file. It checks nothing beyond what it
// needs to go on: no name rules, no CRC comparison, no file times.
//
//   floor_extract PACKAGE FOLDER [PASSWORD]

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kHeaderOffset = 35328;
constexpr std::size_t kOutputSize = 1 << 20;

std::uint32_t le32(const unsigned char* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t le16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

struct Keys {
    std::uint32_t k0 = 0x12345678, k1 = 0x23456789, k2 = 0x34567890;
    const z_crc_t* table = get_crc_table();
    void update(unsigned char p)
    {
        k0 = table[(k0 ^ p) & 0xFF] ^ (k0 >> 8);
        k1 = (k1 + (k0 & 0xFF)) * 134775813u + 1;
        k2 = table[(k2 ^ (k1 >> 24)) & 0xFF] ^ (k2 >> 8);
    }
    void decrypt(unsigned char* data, std::size_t n)
    {
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint32_t t = (k2 | 2) & 0xFFFF;
            data[i] ^= static_cast<unsigned char>((t * (t ^ 1)) >> 8);
            update(data[i]);
        }
    }
};

void makeParents(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0755);
}

bool writeAll(int fd, const unsigned char* data, std::size_t n)
{
    while (n > 0) {
        const ssize_t done = write(fd, data, n);
        if (done <= 0)
            return false;
        data += done;
        n -= static_cast<std::size_t>(done);
    }
    return true;
}

bool unpack(const unsigned char* data, std::size_t size, int method, int out,
            std::vector<unsigned char>& buffer)
{
    uLong crc = crc32(0, Z_NULL, 0);
    if (method == 0) {
        crc = crc32(crc, data, static_cast<uInt>(size));
        return writeAll(out, data, size);
    }
    z_stream z{};
    inflateInit2(&z, -15);
    z.next_in = const_cast<unsigned char*>(data);
    z.avail_in = static_cast<uInt>(size);
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = buffer.data();
        z.avail_out = static_cast<uInt>(buffer.size());
        rc = inflate(&z, Z_NO_FLUSH);
        const std::size_t n = buffer.size() - z.avail_out;
        crc = crc32(crc, buffer.data(), static_cast<uInt>(n));
        if (!writeAll(out, buffer.data(), n))
            rc = Z_ERRNO;
    }
    inflateEnd(&z);
    return rc == Z_STREAM_END;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fputs("usage: floor_extract PACKAGE FOLDER [PASSWORD]\n", stderr);
        return 2;
    }
    const int fd = open(argv[1], O_RDONLY);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0)
        return 1;
    const auto size = static_cast<std::size_t>(st.st_size);
    const auto* file = static_cast<const unsigned char*>(mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0));
    if (file == MAP_FAILED || size < kHeaderOffset + 23)
        return 1;
    const unsigned char* h = file + kHeaderOffset;
    std::size_t at = kHeaderOffset + 23 + h[4] + h[5] + h[7] + le32(h + 8) + le32(h + 12);
    mkdir(argv[2], 0700);
    const std::string folder = std::string(argv[2]) + "/";
    std::vector<unsigned char> buffer(kOutputSize), sealed;
    int failures = 0;
    while (at + 30 <= size && le32(file + at) == 0x04034B50u) {
        const unsigned char* e = file + at;
        const std::uint16_t flags = le16(e + 6), method = le16(e + 8), nameLength = le16(e + 26),
                            extraLength = le16(e + 28);
        const std::uint32_t compressed = le32(e + 18);
        const std::string name(reinterpret_cast<const char*>(e + 30), nameLength);
        const unsigned char* data = e + 30 + nameLength + extraLength;
        std::size_t dataSize = compressed;
        if (flags & 1) {
            Keys keys;
            for (const char* p = argc == 4 ? argv[3] : ""; *p; ++p)
                keys.update(static_cast<unsigned char>(*p));
            sealed.assign(data, data + compressed);
            keys.decrypt(sealed.data(), sealed.size());
            data = sealed.data() + 12;
            dataSize = compressed - 12;
        }
        const std::string target = folder + name;
        makeParents(target);
        if (name.empty() || name.back() != '/') {
            const int out = open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out < 0 || !unpack(data, dataSize, method, out, buffer))
                ++failures;
            if (out >= 0)
                close(out);
        }
        at += 30 + nameLength + extraLength + compressed;
        if (flags & 8 && at + 4 <= size && le32(file + at) == 0x08074B50u)
            at += 16;
    }
    return failures == 0 ? 0 : 1;
}
