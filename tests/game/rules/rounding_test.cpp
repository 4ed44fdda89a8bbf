#include "game/rules/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kv {
namespace {

TEST(Rounding, SixteenBitHalvesGoToEvenAndExtremesSaturate)
{
    EXPECT_EQ(roundHalfEvenToInt16(2.5), 2);
    EXPECT_EQ(roundHalfEvenToInt16(3.5), 4);
    EXPECT_EQ(roundHalfEvenToInt16(-2.5), -2);
    EXPECT_EQ(roundHalfEvenToInt16(-3.5), -4);
    EXPECT_EQ(roundHalfEvenToInt16(2.4999999), 2);
    EXPECT_EQ(roundHalfEvenToInt16(2210.0 / 3.2880859), 672);
    EXPECT_EQ(roundHalfEvenToInt16(32767.5), 32767);
    EXPECT_EQ(roundHalfEvenToInt16(1e9), 32767);
    EXPECT_EQ(roundHalfEvenToInt16(-32768.5), -32768);
    EXPECT_EQ(roundHalfEvenToInt16(-1e9), -32768);
    EXPECT_EQ(roundHalfEvenToInt16(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Rounding, FourPlacesTiesThatAreExactGoToEven)
{
    // Multiples of 1/32 are exact doubles whose fifth place is a true 5.
    EXPECT_EQ(roundToFourPlaces(0.03125), 312);
    EXPECT_EQ(roundToFourPlaces(0.09375), 938);
    EXPECT_EQ(roundToFourPlaces(7.03125), 70312);
    EXPECT_EQ(roundToFourPlaces(9.09375), 90938);
    EXPECT_EQ(roundToFourPlaces(-0.03125), -312);
    EXPECT_EQ(roundToFourPlaces(7.0), 70000);
    EXPECT_EQ(roundToFourPlaces(7.00004), 70000);
    EXPECT_EQ(roundToFourPlaces(7.00006), 70001);
}

TEST(Rounding, FourPlacesDecidesOnTheExactValueNotTheRoundedProduct)
{
    // These doubles lie just beside a half; their product with 10000 rounds
    // onto the half, where rounding to even would pick the wrong neighbour.
    EXPECT_EQ(roundToFourPlaces(0.00025), 3);   // a hair above 2.5 ten-thousandths
    EXPECT_EQ(roundToFourPlaces(0.00035), 3);   // a hair below 3.5
    EXPECT_EQ(roundToFourPlaces(0.00125), 13);  // above 12.5
    EXPECT_EQ(roundToFourPlaces(0.00095), 9);   // below 9.5
    // Near the game's thresholds the neighbours of the half fall on either side.
    EXPECT_EQ(roundToFourPlaces(std::nextafter(7.00005, 0.0)), 70000);
    EXPECT_EQ(roundToFourPlaces(std::nextafter(7.00005, 10.0)), 70001);
    EXPECT_EQ(roundToFourPlaces(std::numeric_limits<double>::quiet_NaN()), 0);
}

}  // namespace
}  // namespace kv
