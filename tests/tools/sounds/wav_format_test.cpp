#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <vector>

#include "generated_sounds.h"
#include "wav_encoder.h"
#include "wav_reader.h"

namespace kv::sounds::test {
namespace {

TEST(WavEncoder, WritesLittleEndianPcmHeaderAndSamples)
{
    const std::vector<std::int16_t> samples{0, 1, -1, 32767, -32768};
    const std::vector<std::uint8_t> bytes = encodeWavPcm16Mono(samples, 22050);

    ASSERT_EQ(bytes.size(), 44u + 10u);
    WavFile file;
    ASSERT_EQ(parseWav(bytes, file), "");
    EXPECT_EQ(file.formatTag, 1);
    EXPECT_EQ(file.channels, 1);
    EXPECT_EQ(file.sampleRate, 22050u);
    EXPECT_EQ(file.byteRate, 44100u);
    EXPECT_EQ(file.blockAlign, 2);
    EXPECT_EQ(file.bitsPerSample, 16);
    EXPECT_EQ(file.samples, samples);
    // The extremes byte for byte: the sign must survive the little-endian split.
    const std::vector<std::uint8_t> tail(bytes.end() - 4, bytes.end());
    EXPECT_EQ(tail, (std::vector<std::uint8_t>{0xFF, 0x7F, 0x00, 0x80}));
}

TEST(WavEncoder, EmptySoundIsAValidFileWithEmptyData)
{
    WavFile file;
    EXPECT_EQ(parseWav(encodeWavPcm16Mono({}), file), "");
    EXPECT_TRUE(file.samples.empty());
    EXPECT_EQ(file.sampleRate, 44100u);
}

TEST(WavReader, RejectsSizesThatDisagree)
{
    std::vector<std::uint8_t> bytes = encodeWavPcm16Mono(std::vector<std::int16_t>{1, 2, 3});
    WavFile file;
    bytes.push_back(0); // one byte more than the RIFF size announces
    EXPECT_NE(parseWav(bytes, file), "");
    bytes.pop_back();
    bytes[40] = 7; // data chunk announces more than the file holds
    EXPECT_NE(parseWav(bytes, file), "");
}

class GeneratedFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = new TempFolder;
        sounds_ = new GeneratedSounds(generateSounds(folder_->path()));
    }
    static void TearDownTestSuite()
    {
        delete sounds_;
        delete folder_;
    }
    static TempFolder* folder_;
    static GeneratedSounds* sounds_;
};
TempFolder* GeneratedFiles::folder_ = nullptr;
GeneratedSounds* GeneratedFiles::sounds_ = nullptr;

TEST_F(GeneratedFiles, AreSixteenBitMonoPcmAt44100Hz)
{
    for (std::size_t i = 0; i < 7; ++i) {
        SCOPED_TRACE("sound" + std::to_string(i + 1));
        ASSERT_EQ(sounds_->parseErrors[i], "");
        const WavFile& f = sounds_->files[i];
        EXPECT_EQ(f.formatTag, 1);
        EXPECT_EQ(f.channels, 1);
        EXPECT_EQ(f.sampleRate, 44100u);
        EXPECT_EQ(f.bitsPerSample, 16);
        EXPECT_EQ(f.blockAlign, 2);
        EXPECT_EQ(f.byteRate, 88200u);
        EXPECT_EQ(sounds_->bytes[i].size(), 44 + 2 * f.samples.size());
    }
}

TEST_F(GeneratedFiles, AreTheSameBytesOnEveryRun)
{
    TempFolder second;
    const GeneratedSounds again = generateSounds(second.path());
    for (std::size_t i = 0; i < 7; ++i)
        EXPECT_TRUE(again.bytes[i] == sounds_->bytes[i]) << "sound" << i + 1 << " differs";
}

TEST(MakeSounds, CreatesMissingFoldersAndFailsWhereItCannotWrite)
{
    TempFolder base;
    EXPECT_EQ(runMakeSounds("'" + (base.path() / "a" / "sounds").string() + "'"), 0);
    EXPECT_TRUE(std::filesystem::is_regular_file(base.path() / "a" / "sounds" / "sound7.wav"));

    // A regular file where the folder should be.
    const auto blocker = base.path() / "file";
    std::ofstream(blocker) << "x";
    EXPECT_EQ(runMakeSounds("'" + (blocker / "sounds").string() + "'"), 1);

    EXPECT_EQ(runMakeSounds(""), 2);
}

} // namespace
} // namespace kv::sounds::test
