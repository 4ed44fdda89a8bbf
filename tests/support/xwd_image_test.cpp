#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/support/board_look.h"
#include "tests/support/xwd_image.h"

namespace kv::x11test {
namespace {

void putBigEndian(std::string& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

// A dump as xwd writes one for a 24-bit true-colour screen, with a window name, two colour
// map entries and padded lines.
std::string makeDump(int width, int height, std::uint32_t byteOrder, int bytesPerLine,
                     std::uint32_t (*pixelAt)(int x, int y))
{
    const std::string name = "xwdump";
    std::string out;
    const std::uint32_t header[25] = {static_cast<std::uint32_t>(100 + name.size() + 1),
                                      7,
                                      2,
                                      24,
                                      static_cast<std::uint32_t>(width),
                                      static_cast<std::uint32_t>(height),
                                      0,
                                      byteOrder,
                                      32,
                                      byteOrder,
                                      32,
                                      32,
                                      static_cast<std::uint32_t>(bytesPerLine),
                                      4,
                                      0xFF0000,
                                      0x00FF00,
                                      0x0000FF,
                                      8,
                                      256,
                                      2,
                                      static_cast<std::uint32_t>(width),
                                      static_cast<std::uint32_t>(height),
                                      0,
                                      0,
                                      0};
    for (std::uint32_t word : header)
        putBigEndian(out, word);
    out += name;
    out.push_back('\0');
    out.append(2 * 12, '\0');
    for (int y = 0; y < height; ++y) {
        std::string line;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixelAt(x, y);
            for (int i = 0; i < 4; ++i) {
                const int shift = byteOrder == 0 ? 8 * i : 8 * (3 - i);
                line.push_back(static_cast<char>((p >> shift) & 0xFF));
            }
        }
        line.resize(static_cast<std::size_t>(bytesPerLine), '\0');
        out += line;
    }
    return out;
}

std::uint32_t gradient(int x, int y)
{
    return (static_cast<std::uint32_t>(x) << 16) | (static_cast<std::uint32_t>(y) << 8) | 0x7F;
}

TEST(XwdImage, ReadsPixelsInEitherByteOrderPastPaddingAndColourMap)
{
    for (std::uint32_t order : {0u, 1u}) {
        SCOPED_TRACE(order == 0 ? "LSB first" : "MSB first");
        std::string error;
        const XwdImage image = XwdImage::parse(makeDump(5, 3, order, 24, gradient), error);
        ASSERT_EQ(error, "");
        EXPECT_EQ(image.width(), 5);
        EXPECT_EQ(image.height(), 3);
        EXPECT_EQ(image.at(0, 0), (Rgb{0, 0, 127}));
        EXPECT_EQ(image.at(4, 2), (Rgb{4, 2, 127}));
        EXPECT_EQ(image.at(3, 1), (Rgb{3, 1, 127}));
        EXPECT_EQ(image.at(5, 0), (Rgb{})) << "outside the image";
    }
}

TEST(XwdImage, RefusesTruncatedOrForeignData)
{
    std::string error;
    std::string dump = makeDump(4, 4, 0, 16, gradient);
    XwdImage::parse(dump.substr(0, dump.size() - 1), error);
    EXPECT_NE(error, "");
    dump[7] = 6;  // file version
    XwdImage::parse(dump, error);
    EXPECT_NE(error, "");
    XwdImage::parse("short", error);
    EXPECT_NE(error, "");
}

// A screen holding one window at (10, 20) with a red field 0, a blocked field 1, a joker-like
// stripe pattern on field 2 and free fields elsewhere.
std::uint32_t boardPixel(int x, int y)
{
    const int wx = x - 10, wy = y - 20;
    const bool inField0 = wx >= 37 && wx < 99 && wy >= 17 && wy < 79;
    const bool inField1 = wx >= 100 && wx < 162 && wy >= 17 && wy < 79;
    const bool inField2 = wx >= 163 && wx < 225 && wy >= 17 && wy < 79;
    if (inField0)
        return 0xFF0000;
    if (inField1)
        return ((wx - 100) / 16 + (wy - 17) / 16) % 2 ? 0x808080 : 0x000000;
    if (inField2)
        return (wx - wy + 100) / 7 % 2 ? 0xFF00FF : 0x00FFFF;  // diagonal bands
    return 0xE6FFE6;
}

TEST(BoardLook, TellsFreeColouredBlockedAndOtherFieldsApart)
{
    std::string error;
    const XwdImage screen = XwdImage::parse(makeDump(640, 640, 0, 640 * 4, boardPixel), error);
    ASSERT_EQ(error, "");
    const BoardOnScreen board = readBoard(screen, 10, 20);
    EXPECT_EQ(board[0].look, FieldLook::Coloured);
    EXPECT_EQ(board[0].colour, (Rgb{255, 0, 0}));
    EXPECT_EQ(board[1].look, FieldLook::Blocked);
    EXPECT_EQ(board[2].look, FieldLook::Other);
    EXPECT_EQ(board[80].look, FieldLook::Free);
    EXPECT_EQ(occupiedFields(board), 3);
    EXPECT_EQ(describe(board).substr(0, 18), "r # ? . . . . . .\n");
}

}  // namespace
}  // namespace kv::x11test
