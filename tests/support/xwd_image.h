#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kv::x11test {

struct Rgb {
    int r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

std::string toString(Rgb c);

// A screen picture in the X Window Dump format (version 7) of a true-colour visual, as Xvfb keeps
// its framebuffer and `xwd` writes.
class XwdImage {
public:
    // Empty `error` on success.
    static XwdImage parse(const std::string& bytes, std::string& error);

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb at(int x, int y) const;  // black outside the image

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgb> pixels_;
};

}  // namespace kv::x11test
