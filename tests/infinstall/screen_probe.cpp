// screen_probe XWD_FILE X Y WIDTH HEIGHT: looks at one rectangle of a screen capture (Xvfb's
// framebuffer file) and prints "<share of the commonest colour in %> <dark pixels>", so that a
// script can tell a drawn dialog with text from an empty or black area.
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>

#include "xwd_image.h"

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::cerr << "usage: screen_probe XWD_FILE X Y WIDTH HEIGHT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    const kv::x11test::XwdImage image = kv::x11test::XwdImage::parse(bytes, error);
    if (!error.empty()) {
        std::cerr << "screen_probe: " << error << "\n";
        return 1;
    }
    const int x0 = std::stoi(argv[2]), y0 = std::stoi(argv[3]);
    const int width = std::stoi(argv[4]), height = std::stoi(argv[5]);
    std::map<int, int> counts;
    int dark = 0, total = 0;
    for (int y = y0; y < y0 + height; ++y) {
        for (int x = x0; x < x0 + width; ++x) {
            const kv::x11test::Rgb c = image.at(x, y);
            ++counts[c.r << 16 | c.g << 8 | c.b];
            dark += c.r + c.g + c.b < 3 * 90;
            ++total;
        }
    }
    int commonest = 0;
    for (const auto& [colour, count] : counts) commonest = std::max(commonest, count);
    std::cout << (total ? commonest * 100 / total : 0) << " " << dark << "\n";
    return 0;
}
