// make_setup_icon OUT.h: draws MNICON, the setup's 32 x 32 icon in 16 colours, encodes it as a
// PNG file and writes the file's bytes as a C++ array. The setup image carries those bytes and
// lets Qt decode them, which costs it far less than drawing the picture itself.
//
// Exit status 0 on success; 1 with a message on standard error otherwise.

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr std::uint32_t kFrame = 0x000080;  // dark blue board edge
constexpr std::uint32_t kGap = 0xC0C0C0;    // light grey between the fields
// A corner of the board: three rows of three fields in the game's colours, the centre one a
// joker.
constexpr std::uint32_t kFields[9] = {0xFF0000, 0xFFFF00, 0x00FF00, 0x0000FF, 0xFFFFFF,
                                      0xFF00FF, 0x00FFFF, 0x008000, 0x800000};

std::uint32_t pixelAt(int x, int y)
{
    if (x < 2 || y < 2 || x >= kSize - 2 || y >= kSize - 2)
        return kFrame;
    // Fields of 8 pixels with a 2-pixel gap, starting inside the frame.
    const int column = (x - 2) / 10;
    const int row = (y - 2) / 10;
    if ((x - 2) % 10 >= 8 || (y - 2) % 10 >= 8 || column > 2 || row > 2)
        return kGap;
    // The joker shows its many colours as stripes.
    if (row == 1 && column == 1)
        return kFields[(x + y) % 8];
    return kFields[row * 3 + column];
}

void putU32(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>(value >> shift);
}

void putChunk(std::string& png, const char* type, const std::string& data)
{
    const std::string body = type + data;
    putU32(png, static_cast<std::uint32_t>(data.size()));
    png += body;
    putU32(png, static_cast<std::uint32_t>(
                    crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

// An indexed PNG with four bits per pixel.
std::string encodePng()
{
    std::vector<std::uint32_t> palette;
    std::string rows;
    for (int y = 0; y < kSize; ++y) {
        rows += '\0';  // no filter
        for (int x = 0; x < kSize; x += 2) {
            int pair = 0;
            for (int half = 0; half < 2; ++half) {
                const std::uint32_t colour = pixelAt(x + half, y);
                std::size_t index = 0;
                while (index < palette.size() && palette[index] != colour)
                    ++index;
                if (index == palette.size())
                    palette.push_back(colour);
                pair = pair << 4 | static_cast<int>(index);
            }
            rows += static_cast<char>(pair);
        }
    }
    if (palette.size() > 16)
        throw std::runtime_error("more than 16 colours");

    std::string header;
    putU32(header, kSize);
    putU32(header, kSize);
    header += std::string{4, 3, 0, 0, 0};  // depth 4, indexed, deflate, no filter, no interlace
    std::string colours;
    for (const std::uint32_t colour : palette)
        for (int shift = 16; shift >= 0; shift -= 8)
            colours += static_cast<char>(colour >> shift);
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                  reinterpret_cast<const Bytef*>(rows.data()), static_cast<uLong>(rows.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("zlib could not compress the picture");
    packed.resize(packedSize);

    std::string png = "\x89PNG\r\n\x1a\n";
    putChunk(png, "IHDR", header);
    putChunk(png, "PLTE", colours);
    putChunk(png, "IDAT", packed);
    putChunk(png, "IEND", "");
    return png;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: make_setup_icon OUT.h\n", stderr);
        return 1;
    }
    try {
        const std::string png = encodePng();
        std::ofstream out(argv[1], std::ios::trunc);
        out << "// Written by make_setup_icon: MNICON, the setup's icon, as a PNG file.\n"
               "#pragma once\n\nnamespace setup {\n\nconstexpr unsigned char kSetupIconPng[] = {";
        for (std::size_t i = 0; i < png.size(); ++i)
            out << (i % 12 == 0 ? "\n   " : "") << " " << static_cast<int>(static_cast<unsigned char>(png[i]))
                << ",";
        out << "\n};\n\n}  // namespace setup\n";
        out.close();
        if (!out)
            throw std::runtime_error(std::string("cannot write ") + argv[1]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_setup_icon: %s\n", e.what());
        return 1;
    }
}
