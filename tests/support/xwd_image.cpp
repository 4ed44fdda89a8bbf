#include "tests/support/xwd_image.h"

#include <bit>

namespace kv::x11test {
namespace {

constexpr std::size_t kHeaderWords = 25;

std::uint32_t bigEndian32(const std::string& b, std::size_t at)
{
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// Scales the bits of one colour channel, wherever the mask puts them, to 0-255.
int channel(std::uint32_t pixel, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const std::uint32_t maximum = mask >> shift;
    return static_cast<int>(((pixel & mask) >> shift) * 255u / maximum);
}

}  // namespace

std::string toString(Rgb c)
{
    return "RGB(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

XwdImage XwdImage::parse(const std::string& b, std::string& error)
{
    XwdImage image;
    if (b.size() < kHeaderWords * 4) {
        error = "shorter than an XWD header";
        return image;
    }
    std::uint32_t h[kHeaderWords];
    for (std::size_t i = 0; i < kHeaderWords; ++i)
        h[i] = bigEndian32(b, 4 * i);
    const std::uint32_t headerSize = h[0], version = h[1], format = h[2], width = h[4], height = h[5],
                        byteOrder = h[7], bitsPerPixel = h[11], bytesPerLine = h[12], visualClass = h[13],
                        ncolors = h[19];
    const std::uint32_t masks[3] = {h[14], h[15], h[16]};
    if (version != 7 || format != 2 || (visualClass != 4 && visualClass != 5)) {
        error = "not a version 7 ZPixmap dump of a true-colour visual";
        return image;
    }
    if (bitsPerPixel != 24 && bitsPerPixel != 32) {
        error = "unsupported " + std::to_string(bitsPerPixel) + " bits per pixel";
        return image;
    }
    const std::uint64_t pixelsAt = std::uint64_t{headerSize} + std::uint64_t{ncolors} * 12;
    if (headerSize < kHeaderWords * 4 || bytesPerLine < width * (bitsPerPixel / 8) ||
        pixelsAt + std::uint64_t{bytesPerLine} * height > b.size()) {
        error = "sizes in the XWD header do not fit the data";
        return image;
    }

    image.width_ = static_cast<int>(width);
    image.height_ = static_cast<int>(height);
    image.pixels_.reserve(std::size_t{width} * height);
    const std::size_t bytes = bitsPerPixel / 8;
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::size_t row = pixelsAt + std::size_t{y} * bytesPerLine;
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint32_t pixel = 0;
            for (std::size_t i = 0; i < bytes; ++i) {
                const std::uint32_t byte = static_cast<unsigned char>(b[row + x * bytes + i]);
                pixel |= byteOrder == 0 ? byte << (8 * i) : byte << (8 * (bytes - 1 - i));
            }
            image.pixels_.push_back(
                {channel(pixel, masks[0]), channel(pixel, masks[1]), channel(pixel, masks[2])});
        }
    }
    error.clear();
    return image;
}

Rgb XwdImage::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return {};
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

}  // namespace kv::x11test
