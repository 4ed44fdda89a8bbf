#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/highscore/highscore_record.h"
#include "tests/game/highscore/temp_folder.h"

namespace kv {
namespace {

std::vector<unsigned char> asVector(const HighscoreRecordBytes& bytes)
{
    return {bytes.begin(), bytes.end()};
}

TEST(HighscoreRecord, EncodesPointsLittleEndianAndTextsAsBlankPaddedWindows1252)
{
    HighscoreRecord record;
    record.points = 0x1234;
    record.name = "Müller";
    record.date = "12.06.99 16:02:47";
    EXPECT_EQ(asVector(encodeHighscoreRecord(record)),
              test::recordBytes(0x1234, "M\xFCller              ", "12.06.99 16:02:47"));
}

TEST(HighscoreRecord, NegativeAndExtremePointsSurviveTheRoundTrip)
{
    for (const int points : {-1, -32768, 32767, 0, 255, 256}) {
        HighscoreRecord record;
        record.points = static_cast<std::int16_t>(points);
        EXPECT_EQ(decodeHighscoreRecord(encodeHighscoreRecord(record)).points, points);
    }
    HighscoreRecord minusOne;
    minusOne.points = -1;
    const auto bytes = encodeHighscoreRecord(minusOne);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFF);
}

TEST(HighscoreRecord, DecodesTextsIntoFullFields)
{
    const std::string date("\0"
                           "1234567890123456",
                           17);
    const auto raw = test::recordBytes(-2, "\xC4rger \x80uro\x81" + std::string(8, ' ') + "x", date);
    HighscoreRecordBytes bytes{};
    std::copy(raw.begin(), raw.end(), bytes.begin());
    const HighscoreRecord record = decodeHighscoreRecord(bytes);
    EXPECT_EQ(record.points, -2);
    EXPECT_EQ(record.name.str(), "Ärger €uro?" + std::string(8, ' ') + "x");
    EXPECT_EQ(record.date.str(), date);
}

}  // namespace
}  // namespace kv
