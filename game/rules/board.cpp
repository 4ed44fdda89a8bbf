#include "game/rules/board.h"

#include <algorithm>
#include <stdexcept>

namespace kv {
namespace {

constexpr auto makePaletteCodes()
{
    std::array<FieldCode, kPaletteSize> codes{};
    for (std::size_t k = 0; k < codes.size(); ++k)
        codes[k] = FieldCode(kPaletteCodes[k]);
    return codes;
}

constexpr auto kCodeOfEntry = makePaletteCodes();
constexpr FieldCode kFree{kFreeCode};

}  // namespace

bool Board::hasFreeField() const
{
    return std::any_of(fields_.begin(), fields_.end(), [](const Field& f) { return f.code.isFree(); });
}

void Board::fillField(int index, PaletteIndex entry)
{
    if (entry >= kPaletteSize)
        throw std::out_of_range("palette entry");
    Field& f = slot(index);
    f.picture = entry;
    f.draggable = true;
    setCode(index, kCodeOfEntry[entry]);
}

void Board::clearField(int index)
{
    Field& f = slot(index);
    f.picture.reset();
    f.draggable = false;
    setCode(index, kFree);
}

void Board::setCode(int index, FieldCode code)
{
    slot(index).code = code;
    values_[static_cast<std::size_t>(index)] = code.value();
}

}  // namespace kv
