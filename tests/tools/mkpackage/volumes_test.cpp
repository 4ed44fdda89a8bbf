// Splitting a package into volume files and naming them.

#include <gtest/gtest.h>

#include "tools/mkpackage/error.h"
#include "tools/mkpackage/package_builder.h"
#include "tools/mkpackage/volumes.h"
#include "tests/tools/mkpackage/zip_checks.h"

namespace mkpackage {
namespace {

TEST(VolumeNames, ReplaceTheLastThreeCharactersWithThePaddedNumber)
{
    EXPECT_EQ(volumeFileName("/media/KARVELO-setup.run", 0), "/media/KARVELO-setup.run");
    EXPECT_EQ(volumeFileName("/media/KARVELO-setup.run", 1), "/media/KARVELO-setup.001");
    EXPECT_EQ(volumeFileName("A:/SETUP.EXE", 12), "A:/SETUP.012");
    EXPECT_EQ(volumeFileName("pkg.run", 999), "pkg.999");
    EXPECT_EQ(volumeFileName("pkg.run", 1000), "pkg.1000");
    EXPECT_EQ(volumeFileName("abc", 2), "002");
    EXPECT_THROW(volumeFileName("ab", 1), Error);
}

TEST(VolumeSplit, PiecesOfTheGivenSizeJoinBackToThePackage)
{
    PackagePlan plan;
    plan.header.infName = "KARV10G1.INF";
    plan.header.multiVolume = true;
    Bytes data(100000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i * 7919 >> 3);
    plan.entries.push_back({.name = "big", .data = data, .method = Method::Stored});
    const BuiltPackage built = buildPackage(plan);

    const std::size_t volumeSize = 40000;
    const auto volumes = splitIntoVolumes(built.bytes, volumeSize, built.archiveStart);
    ASSERT_EQ(volumes.size(), (built.bytes.size() + volumeSize - 1) / volumeSize);
    Bytes joined;
    for (std::size_t k = 0; k < volumes.size(); ++k) {
        if (k + 1 < volumes.size()) {
            EXPECT_EQ(volumes[k].size(), volumeSize) << k;
        }
        putBytes(joined, volumes[k]);
    }
    EXPECT_EQ(joined, built.bytes);
    EXPECT_EQ(readU32(volumes[0], kImageSize + 19), joined.size());  // totalSize: all joined
    EXPECT_EQ(volumes[0][kImageSize + 17], 1);                       // multiVolume
}

TEST(VolumeSplit, TheFirstVolumeMustHoldTheWholeHeader)
{
    PackagePlan plan;
    plan.header.infName = "KARV10G1.INF";
    const BuiltPackage built = buildPackage(plan);
    EXPECT_THROW(splitIntoVolumes(built.bytes, built.archiveStart - 1, built.archiveStart), Error);
    const auto volumes = splitIntoVolumes(built.bytes, built.archiveStart, built.archiveStart);
    EXPECT_EQ(volumes.size(), 2u);  // the header, then the trailer on its own
    EXPECT_EQ(volumes[1], testing::asBytes("RSFX"));
}

}  // namespace
}  // namespace mkpackage
