// The scalable icon shows what the pixel icons show: drawn by librsvg (which GNOME draws icons
// with) at the size where the PNG holds the field pictures unscaled, its pixels are the PNG's.
#include <QImage>
#include <QString>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

namespace fs = std::filesystem;

int run(const std::string& command)
{
    return std::system(command.c_str());
}

TEST(ScalableIcon, DrawsTheFieldsOfThePixelIcon)
{
    const fs::path work = fs::temp_directory_path() / ("kv-icon-svg-" + std::to_string(::getpid()));
    fs::create_directories(work);
    const std::string svg = (work / "icon.svg").string(), png = (work / "icon.png").string(),
                      drawn = (work / "drawn.png").string();
    constexpr int kSide = 3 * 62;
    ASSERT_EQ(run(std::string(KV_MAKE_ICON) + " " + svg), 0);
    ASSERT_EQ(run(std::string(KV_MAKE_ICON) + " " + png + " " + std::to_string(kSide)), 0);
    ASSERT_EQ(run("rsvg-convert -w " + std::to_string(kSide) + " -h " + std::to_string(kSide) + " -o " +
                  drawn + " " + svg),
              0);
    const QImage expected = QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
    const QImage actual = QImage(QString::fromStdString(drawn)).convertToFormat(QImage::Format_RGB32);
    fs::remove_all(work);
    ASSERT_EQ(expected.size(), QSize(kSide, kSide));
    ASSERT_EQ(actual.size(), expected.size());

    // The joker's bands meet along lines x + y = const across its field (top middle); librsvg
    // smooths those edges, so pixels there may blend the two colours. Every other pixel is the
    // PNG's.
    const auto onBandEdge = [](int x, int y) {
        const double sum = (x - 62 + 0.5) + (y + 0.5);
        for (int band = 1; band < 7; ++band)
            if (x >= 62 && x < 124 && y < 62 && std::abs(sum - 124.0 * band / 7) < 1.5)
                return true;
        return false;
    };
    int differing = 0, offEdges = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                ++differing;
                if (!onBandEdge(x, y) && ++offEdges <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << actual.pixel(x, y)
                                  << ", the PNG's " << expected.pixel(x, y);
            }
    EXPECT_EQ(offEdges, 0) << differing << " of " << kSide * kSide << " pixels differ";
}

}  // namespace
