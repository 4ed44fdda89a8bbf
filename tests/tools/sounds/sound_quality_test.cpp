#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <string>

#include "tests/tools/sounds/generated_sounds.h"
#include "tests/tools/sounds/sound_analysis.h"

namespace kv::sounds::test {
namespace {

constexpr int kRate = 44100;
constexpr int kFullScale = 32767;
constexpr int kQuiet = kFullScale / 100;  // -40 dB: inaudible under any game

class SoundQuality : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ::kv::test::ScratchFolder folder;
        sounds_ = new GeneratedSounds(generateSounds(folder.path()));
    }
    static void TearDownTestSuite() { delete sounds_; }

    // Sound n as in the file name, 1 to 7.
    static std::span<const std::int16_t> samples(int n) { return sounds_->files[n - 1].samples; }
    static double seconds(int n) { return static_cast<double>(samples(n).size()) / kRate; }
    static std::span<const std::int16_t> firstSeconds(int n, double s)
    {
        return samples(n).first(static_cast<std::size_t>(s * kRate));
    }
    static std::span<const std::int16_t> lastSeconds(int n, double s)
    {
        return samples(n).last(static_cast<std::size_t>(s * kRate));
    }

    static GeneratedSounds* sounds_;
};
GeneratedSounds* SoundQuality::sounds_ = nullptr;

TEST_F(SoundQuality, EachIsSixteenBitMonoPcmLoudCleanAndOfAFittingLength)
{
    for (int n = 1; n <= 7; ++n) {
        SCOPED_TRACE("sound" + std::to_string(n));
        ASSERT_EQ(sounds_->parseErrors[n - 1], "");
        const WavFile& f = sounds_->files[n - 1];
        EXPECT_EQ(f.formatTag, 1);
        EXPECT_EQ(f.channels, 1);
        EXPECT_EQ(f.sampleRate, 44100u);
        EXPECT_EQ(f.bitsPerSample, 16);
        EXPECT_EQ(f.blockAlign, 2);
        EXPECT_EQ(f.byteRate, 88200u);
        EXPECT_GE(seconds(n), 0.15);
        EXPECT_LE(seconds(n), 1.2);
        // Loud but never clipped.
        const int peak = peakMagnitude(samples(n));
        EXPECT_LT(peak, kFullScale * 95 / 100);
        EXPECT_GT(peak, kFullScale / 2);
        // No silence anywhere; the measure covers the ends, so leading or trailing silence counts.
        EXPECT_LE(longestQuietRunS(samples(n), kQuiet, kRate), 0.020);
        // No click: quiet ends, and a soft attack and release keep the first and last
        // millisecond well below the peak.
        EXPECT_LE(std::abs(samples(n).front()), kQuiet);
        EXPECT_LE(std::abs(samples(n).back()), kQuiet);
        EXPECT_LT(peakMagnitude(firstSeconds(n, 0.001)), peak / 2);
        EXPECT_LT(peakMagnitude(lastSeconds(n, 0.001)), peak / 2);
        // Tones without noise: white noise at this rate changes sign about 22,000 times a second.
        EXPECT_LT(maxZeroCrossingRate(samples(n), 0.010, kRate), 10000.0);
    }
    EXPECT_LE(seconds(2), 0.2) << "the placement sound plays after almost every move";
    EXPECT_NEAR(seconds(5), 0.4, 0.1) << "the game waits for the blocked-field sound";
    EXPECT_GE(seconds(7), 1.0) << "the game-over cadence is the longest";
    EXPECT_GT(seconds(4), seconds(3)) << "a square is worth more than a stripe";
}

TEST_F(SoundQuality, AreTheSameBytesOnEveryRun)
{
    ::kv::test::ScratchFolder second;
    const GeneratedSounds again = generateSounds(second.path());
    for (std::size_t i = 0; i < 7; ++i)
        EXPECT_TRUE(again.bytes[i] == sounds_->bytes[i]) << "sound" << i + 1 << " differs";
}

TEST_F(SoundQuality, SevenDistinctSounds)
{
    double dominant[8] = {};
    for (int n = 1; n <= 7; ++n)
        dominant[n] = dominantFrequencyHz(samples(n), kRate);
    for (int a = 1; a <= 7; ++a)
        for (int b = a + 1; b <= 7; ++b) {
            const bool otherLength = std::abs(seconds(a) - seconds(b)) >= 0.05;
            const bool otherPitch = std::abs(std::log2(dominant[a] / dominant[b])) >= 1.0 / 12;
            EXPECT_TRUE(otherLength || otherPitch)
                << "sound" << a << " and sound" << b << " have the same length and pitch";
        }
}

TEST_F(SoundQuality, EachHasTheCharacterOfItsEvent)
{
    EXPECT_LT(dominantFrequencyHz(samples(5), kRate), 150.0) << "the thud is low";
    EXPECT_LT(dominantFrequencyHz(firstSeconds(3, 0.05), kRate),
              dominantFrequencyHz(lastSeconds(3, 0.15), kRate))
        << "the stripe arpeggio rises";
    EXPECT_GT(dominantFrequencyHz(firstSeconds(7, 0.2), kRate),
              dominantFrequencyHz(lastSeconds(7, 0.3), kRate))
        << "the game-over cadence falls";
    EXPECT_GT(dominantFrequencyHz(samples(2), kRate), dominantFrequencyHz(samples(5), kRate) * 4)
        << "the placement click is bright beside the thud";
}

}  // namespace
}  // namespace kv::sounds::test
