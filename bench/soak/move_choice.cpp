#include "bench/soak/move_choice.h"

namespace kv::soak {
namespace {

struct BlockContents {
    std::optional<PaletteIndex> colour;  // none: only jokers and free fields so far
    int ofColour = 0;
    int jokers = 0;
    std::vector<int> free;
    bool spoilt = false;  // a second colour, or a field that is never part of a square
};

BlockContents contentsOf(const Board& board, int top, int left)
{
    BlockContents block;
    for (int r = top; r < top + 3; ++r) {
        for (int c = left; c < left + 3; ++c) {
            const int index = r * kBoardSide + c;
            const Picture& picture = board.field(index).picture;
            if (!picture) {
                block.free.push_back(index);
            } else if (*picture == kJokerEntry) {
                ++block.jokers;
            } else if (*picture < kColourCount && (!block.colour || *block.colour == *picture)) {
                block.colour = *picture;
                ++block.ofColour;
            } else {
                block.spoilt = true;
            }
        }
    }
    return block;
}

// The filled fields outside the block that fit it: of its colour or jokers, or any when the
// block has no colour yet.
std::vector<int> fittingOutside(const Board& board, const std::vector<int>& filled, int top, int left,
                                std::optional<PaletteIndex> colour)
{
    std::vector<int> fitting;
    for (int index : filled) {
        const int r = index / kBoardSide;
        const int c = index % kBoardSide;
        const Picture& picture = board.field(index).picture;
        const bool inside = r >= top && r < top + 3 && c >= left && c < left + 3;
        if (!inside && (!colour || picture == colour || picture == kJokerEntry))
            fitting.push_back(index);
    }
    return fitting;
}

}  // namespace

MoveChoice::MoveChoice(std::uint64_t seed, int clickOneIn, int buildingOneIn)
    : generator_(seed), clickOneIn_(clickOneIn), buildingOneIn_(buildingOneIn)
{
}

int MoveChoice::anyOf(const std::vector<int>& fields)
{
    return fields[static_cast<std::size_t>(below(static_cast<int>(fields.size())))];
}

std::optional<Drop> MoveChoice::next(const Board& board)
{
    std::vector<int> filled;
    std::vector<int> free;
    for (int i = 0; i < kFieldCount; ++i) {
        const Field& field = board.field(i);
        if (field.picture && field.draggable && field.enabled)
            filled.push_back(i);
        else if (!field.picture)
            free.push_back(i);
    }
    if (filled.empty())
        return std::nullopt;
    Drop drop{anyOf(filled), 0};
    drop.target = drop.source;
    if (free.empty() || below(clickOneIn_) == 0)
        return drop;
    drop.target = anyOf(free);
    if (below(buildingOneIn_) == 0)
        buildSquare(board, filled, drop);
    return drop;
}

// The drop that brings a 3 x 3 block closest to a square of one colour: a field of the colour
// the block already holds, from outside it, onto one of its free fields. Random drops alone
// hardly ever form a square.
void MoveChoice::buildSquare(const Board& board, const std::vector<int>& filled, Drop& drop)
{
    int best = -1;
    for (int top = 0; top + 2 < kBoardSide; ++top) {
        for (int left = 0; left + 2 < kBoardSide; ++left) {
            const BlockContents block = contentsOf(board, top, left);
            const int count = block.ofColour + block.jokers;
            if (block.spoilt || block.free.empty() || count <= best)
                continue;
            const std::vector<int> fitting = fittingOutside(board, filled, top, left, block.colour);
            if (fitting.empty())
                continue;
            best = count;
            drop = {anyOf(fitting), anyOf(block.free)};
        }
    }
}

}  // namespace kv::soak
