#include "game/rules/board.h"
#include "game/rules/detection_targets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace kv {
namespace {

bool inTable(const auto& table, std::int32_t sum)
{
    return std::find(table.begin(), table.end(), sum) != table.end();
}

TEST(FieldCode, ValueIsTheLeadingDigits)
{
    const std::int32_t expected[] = {10'000'000, 1'000'000, 100'000, 10'000, 1'000, 100, 10, 1, 0, 0};
    for (int k = 0; k < kPaletteSize; ++k)
        EXPECT_EQ(FieldCode(kPaletteCodes[k]).value(), expected[k]) << "entry " << k;
    EXPECT_EQ(FieldCode("voll").value(), 0);
    EXPECT_EQ(FieldCode("peng").value(), 0);
    EXPECT_EQ(FieldCode("0").value(), 0);
    EXPECT_EQ(FieldCode("12ab3").value(), 12);
    EXPECT_TRUE(FieldCode("0").isFree());
    EXPECT_FALSE(FieldCode("").isFree());
    EXPECT_FALSE(FieldCode("00").isFree());
    EXPECT_THROW(FieldCode("1234567890"), std::length_error);
}

TEST(Targets, TablesFollowColourThenCountOrder)
{
    EXPECT_EQ(StripeTargets.size(), 36U);
    EXPECT_EQ((std::array{StripeTargets[0], StripeTargets[1], StripeTargets[4], StripeTargets[5],
                          StripeTargets[6], StripeTargets[34], StripeTargets[35]}),
              (std::array<std::int32_t, 7>{50000000, 40000001, 10000004, 5000000, 4000001, 14, 5}));
    EXPECT_EQ(SquareTargets.size(), 64U);
    EXPECT_EQ((std::array{SquareTargets[0], SquareTargets[1], SquareTargets[9], SquareTargets[62],
                          SquareTargets[63]}),
              (std::array<std::int32_t, 5>{90000000, 80000001, 9000000, 18, 9}));
    // Four reds and a joker make a stripe; a blocked field instead of the
    // joker leaves a sum that matches nothing.
    EXPECT_TRUE(kStripeSums.contains(40000001));
    EXPECT_FALSE(kStripeSums.contains(40000000));
}

// Every multiset of field values (free/blocked/marked, joker, seven colours)
// over `size` fields: the fast set must agree with the table for each sum.
template <std::size_t Slots, std::size_t Count>
void expectSetAgreesWithTable(const TargetSet<Slots>& set, const std::array<std::int32_t, Count>& table,
                              int size)
{
    constexpr std::array<std::int32_t, 9> values = {0, 1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    int checked = 0;
    auto walk = [&](auto&& self, std::size_t kind, int left, std::int32_t sum) -> void {
        if (kind == values.size() - 1) {
            const std::int32_t total = sum + left * values[kind];
            ASSERT_EQ(set.contains(total), inTable(table, total)) << total;
            ++checked;
            return;
        }
        for (int n = 0; n <= left; ++n)
            self(self, kind + 1, left - n, sum + n * values[kind]);
    };
    walk(walk, 0, size, 0);
    EXPECT_GT(checked, 1000);
}

TEST(Targets, FastSetsMatchExactlyTheTableEntries)
{
    expectSetAgreesWithTable(kStripeSums, StripeTargets, 5);
    expectSetAgreesWithTable(kSquareSums, SquareTargets, 9);
}

TEST(Board, StartsFreeEnabledAndNotDraggable)
{
    Board board;
    for (int i = 0; i < kFieldCount; ++i) {
        const Field& f = board.field(i);
        EXPECT_TRUE(!f.picture && f.code == "0" && !f.draggable && f.enabled) << i;
    }
    EXPECT_TRUE(board.hasFreeField());
}

TEST(Board, FillAndClearKeepCodeValueAndEnabledConsistent)
{
    Board board;
    board.setEnabled(40, false);
    board.fillField(40, 2);
    EXPECT_EQ(board.field(40).picture, Picture{2});
    EXPECT_EQ(board.field(40).code, "100000");
    EXPECT_EQ(board.fieldValue(40), 100000);
    EXPECT_TRUE(board.field(40).draggable);

    board.clearField(40);
    EXPECT_FALSE(board.field(40).picture);
    EXPECT_TRUE(board.isFree(40));
    EXPECT_EQ(board.fieldValue(40), 0);
    EXPECT_FALSE(board.field(40).draggable);
    EXPECT_FALSE(board.field(40).enabled);  // clearing leaves enabled alone

    board.setCode(8, FieldCode("voll"));
    EXPECT_FALSE(board.isFree(8));  // a zero value is not a free field
    EXPECT_EQ(board.fieldValue(8), 0);

    EXPECT_THROW(board.fillField(81, 0), std::out_of_range);
    EXPECT_THROW(board.fillField(0, 10), std::out_of_range);
    EXPECT_THROW(board.field(-1), std::out_of_range);
}

}  // namespace
}  // namespace kv
