#pragma once

#include "game/rules/field_code.h"
#include "game/rules/palette.h"

#include <array>
#include <cstdint>
#include <optional>

namespace kv {

inline constexpr int kBoardSide = 9;
inline constexpr int kFieldCount = kBoardSide * kBoardSide;  // index = 9 * row + column

using Picture = std::optional<PaletteIndex>;

struct Field {
    Picture picture;  // none, or the palette entry shown
    FieldCode code{kFreeCode};
    bool draggable = false;  // a drag can start here
    bool enabled = true;     // takes part in drag and drop at all
};

// The 81 fields. Indices are checked on every access from outside the hot
// loops; the detectors read the compact value array instead.
class Board {
public:
    const Field& field(int index) const { return fields_.at(static_cast<std::size_t>(index)); }
    std::int32_t fieldValue(int index) const { return values_.at(static_cast<std::size_t>(index)); }
    const std::array<std::int32_t, kFieldCount>& values() const { return values_; }

    bool isFree(int index) const { return field(index).code.isFree(); }
    bool hasFreeField() const;

    // Shows palette entry `entry`, takes its code, becomes draggable.
    void fillField(int index, PaletteIndex entry);
    // Becomes free: no picture, code "0", not draggable; enabled stays.
    void clearField(int index);

    void setPicture(int index, Picture picture) { slot(index).picture = picture; }
    void setCode(int index, FieldCode code);
    void setDraggable(int index, bool draggable) { slot(index).draggable = draggable; }
    void setEnabled(int index, bool enabled) { slot(index).enabled = enabled; }

private:
    Field& slot(int index) { return fields_.at(static_cast<std::size_t>(index)); }

    std::array<Field, kFieldCount> fields_{};
    // Mirrors fields_[i].code.value(); kept contiguous for the detectors.
    std::array<std::int32_t, kFieldCount> values_{};
};

inline constexpr bool isFieldIndex(int index)
{
    return index >= 0 && index < kFieldCount;
}

}  // namespace kv
