#include "bench/soak/board_checks.h"

#include <algorithm>
#include <numeric>

namespace kv::soak {
namespace {

bool shows(const Field& field, PaletteIndex entry, std::string_view code)
{
    return field.picture == entry && field.code == code;
}

std::vector<ClearedField> byIndex(std::vector<ClearedField> fields)
{
    std::sort(fields.begin(), fields.end(),
              [](const ClearedField& a, const ClearedField& b) { return a.index < b.index; });
    return fields;
}

std::string listOf(const std::vector<ClearedField>& fields)
{
    std::string text;
    for (const ClearedField& f : fields)
        text += (text.empty() ? "" : " ") + std::to_string(f.index);
    return "{" + text + "}";
}

// Every field a coloured one or a joker, and all the coloured ones of one colour.
std::optional<std::string> colourFault(const std::vector<ClearedField>& fields)
{
    std::optional<PaletteIndex> colour;
    for (const ClearedField& f : fields) {
        const FieldKind kind = classify(f.before);
        if (kind == FieldKind::Joker)
            continue;
        if (kind != FieldKind::Coloured)
            return "field " + std::to_string(f.index) + " was neither a colour nor a joker";
        if (colour && *colour != *f.before.picture)
            return "fields " + listOf(fields) + " held more than one colour";
        colour = f.before.picture;
    }
    return std::nullopt;
}

}  // namespace

FieldKind classify(const Field& field)
{
    if (!field.picture)
        return field.code.isFree() ? FieldKind::Free : FieldKind::Inconsistent;
    const PaletteIndex entry = *field.picture;
    if (entry < kColourCount && shows(field, entry, kPaletteCodes[entry]) && field.draggable)
        return FieldKind::Coloured;
    if (shows(field, kJokerEntry, kPaletteCodes[kJokerEntry]) && field.draggable)
        return FieldKind::Joker;
    if (shows(field, kBlockedEntry, kBlockedCode) && !field.draggable)
        return FieldKind::Blocked;
    // Only filled fields are wiped, and they are draggable.
    if (shows(field, kFlashEntry, kMarkedCode) && field.draggable)
        return FieldKind::Marked;
    return FieldKind::Inconsistent;
}

int FieldCounts::total() const
{
    return std::accumulate(byKind.begin(), byKind.end(), 0);
}

FieldCounts countFields(const Board& board)
{
    FieldCounts counts;
    for (int i = 0; i < kFieldCount; ++i)
        ++counts.byKind[static_cast<std::size_t>(classify(board.field(i)))];
    return counts;
}

std::optional<std::string> stripeFault(const std::vector<ClearedField>& cleared)
{
    const std::vector<ClearedField> fields = byIndex(cleared);
    if (fields.size() != 5)
        return "a stripe cleared " + std::to_string(fields.size()) + " fields " + listOf(fields);
    // In index order a line runs down, right, down-right or down-left in equal steps.
    const int rowStep = fields[1].index / kBoardSide - fields[0].index / kBoardSide;
    const int columnStep = fields[1].index % kBoardSide - fields[0].index % kBoardSide;
    const bool straight =
        (rowStep == 1 && columnStep >= -1 && columnStep <= 1) || (rowStep == 0 && columnStep == 1);
    for (std::size_t n = 1; straight && n < fields.size(); ++n) {
        const int from = fields[n - 1].index;
        const int to = fields[n].index;
        if (to / kBoardSide - from / kBoardSide != rowStep ||
            to % kBoardSide - from % kBoardSide != columnStep)
            return "a stripe cleared fields " + listOf(fields) + " that are no line";
    }
    if (!straight)
        return "a stripe cleared fields " + listOf(fields) + " that are no line";
    return colourFault(fields);
}

std::optional<std::string> squareFault(const std::vector<ClearedField>& cleared)
{
    const std::vector<ClearedField> fields = byIndex(cleared);
    if (fields.size() != 9)
        return "a square cleared " + std::to_string(fields.size()) + " fields " + listOf(fields);
    const int top = fields[0].index / kBoardSide;
    const int left = fields[0].index % kBoardSide;
    for (std::size_t n = 0; n < fields.size(); ++n) {
        const int row = top + static_cast<int>(n) / 3;
        const int column = left + static_cast<int>(n) % 3;
        if (column >= kBoardSide || row >= kBoardSide || fields[n].index != row * kBoardSide + column)
            return "a square cleared fields " + listOf(fields) + " that are no 3 x 3 block";
    }
    return colourFault(fields);
}

std::string boardText(const Board& board)
{
    std::string text;
    for (int i = 0; i < kFieldCount; ++i) {
        const Field& field = board.field(i);
        switch (classify(field)) {
        case FieldKind::Free:
            text += '.';
            break;
        case FieldKind::Coloured:
            text += static_cast<char>('0' + *field.picture);
            break;
        case FieldKind::Joker:
            text += 'J';
            break;
        case FieldKind::Blocked:
            text += 'X';
            break;
        case FieldKind::Marked:
            text += '*';
            break;
        case FieldKind::Inconsistent:
            text += '?';
            break;
        }
        if (i % kBoardSide == kBoardSide - 1)
            text += '\n';
    }
    return text;
}

}  // namespace kv::soak
