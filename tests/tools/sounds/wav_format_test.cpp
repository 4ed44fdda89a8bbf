#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <vector>

#include "tests/tools/sounds/generated_sounds.h"
#include "tools/sounds/wav_encoder.h"
#include "tests/tools/sounds/wav_reader.h"

namespace kv::sounds::test {
namespace {

TEST(WavEncoder, WritesLittleEndianPcmHeaderAndSamples)
{
    const struct {
        std::vector<std::int16_t> samples;
        std::uint32_t rate;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {{0, 1, -1, 32767, -32768},
         22050,
         encodeWavPcm16Mono(std::vector<std::int16_t>{0, 1, -1, 32767, -32768}, 22050)},
        {{}, 44100, encodeWavPcm16Mono({})},  // an empty sound at the default rate is a valid file
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.samples.size());
        ASSERT_EQ(c.bytes.size(), 44u + 2 * c.samples.size());
        WavFile file;
        ASSERT_EQ(parseWav(c.bytes, file), "");
        EXPECT_EQ(file.formatTag, 1);
        EXPECT_EQ(file.channels, 1);
        EXPECT_EQ(file.sampleRate, c.rate);
        EXPECT_EQ(file.byteRate, 2 * c.rate);
        EXPECT_EQ(file.blockAlign, 2);
        EXPECT_EQ(file.bitsPerSample, 16);
        EXPECT_EQ(file.samples, c.samples);
    }
    // The extremes byte for byte: the sign must survive the little-endian split.
    const std::vector<std::uint8_t> tail(cases[0].bytes.end() - 4, cases[0].bytes.end());
    EXPECT_EQ(tail, (std::vector<std::uint8_t>{0xFF, 0x7F, 0x00, 0x80}));
}

TEST(WavReader, RejectsSizesThatDisagree)
{
    std::vector<std::uint8_t> bytes = encodeWavPcm16Mono(std::vector<std::int16_t>{1, 2, 3});
    WavFile file;
    bytes.push_back(0);  // one byte more than the RIFF size announces
    EXPECT_NE(parseWav(bytes, file), "");
    bytes.pop_back();
    bytes[40] = 7;  // data chunk announces more than the file holds
    EXPECT_NE(parseWav(bytes, file), "");
}

TEST(MakeSounds, CreatesMissingFoldersAndFailsWhereItCannotWrite)
{
    ::kv::test::ScratchFolder base;
    EXPECT_EQ(runMakeSounds("'" + (base.path() / "a" / "sounds").string() + "'"), 0);
    EXPECT_TRUE(std::filesystem::is_regular_file(base.path() / "a" / "sounds" / "sound7.wav"));

    // A regular file where the folder should be.
    const auto blocker = base.path() / "file";
    std::ofstream(blocker) << "x";
    EXPECT_EQ(runMakeSounds("'" + (blocker / "sounds").string() + "'"), 1);

    EXPECT_EQ(runMakeSounds(""), 2);
}

}  // namespace
}  // namespace kv::sounds::test
