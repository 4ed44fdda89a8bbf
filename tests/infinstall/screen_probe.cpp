// screen_probe XWD_FILE X Y WIDTH HEIGHT: whether one rectangle of a screen capture (Xvfb's
// framebuffer file) shows a drawn dialog with text: exit status 0 if so, 1 if not, 2 on bad use.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "tests/support/window_look.h"
#include "tests/support/xwd_image.h"

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
        return 2;
    }
    const kv::x11test::WindowGeometry area{std::stoi(argv[2]), std::stoi(argv[3]), std::stoi(argv[4]),
                                           std::stoi(argv[5])};
    return kv::x11test::drawnWithText(image, area) ? 0 : 1;
}
