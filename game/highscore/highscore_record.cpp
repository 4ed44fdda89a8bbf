#include "game/highscore/highscore_record.h"

#include <algorithm>
#include <string>

namespace kv {
namespace {

constexpr std::size_t kNameOffset = 2;
constexpr std::size_t kDateOffset = kNameOffset + decltype(HighscoreRecord::name)::width;

template <std::size_t Width>
void putText(HighscoreRecordBytes& bytes, std::size_t offset, const FixedWidthText<Width>& text)
{
    // The field holds exactly Width characters and each becomes one byte.
    const std::string encoded = toWindows1252(text.str());
    std::copy_n(encoded.begin(), Width, bytes.begin() + offset);
}

template <std::size_t Width>
FixedWidthText<Width> getText(const HighscoreRecordBytes& bytes, std::size_t offset)
{
    const auto* first = reinterpret_cast<const char*>(bytes.data()) + offset;
    return FixedWidthText<Width>(fromWindows1252(std::string_view(first, Width)));
}

}  // namespace

HighscoreRecordBytes encodeHighscoreRecord(const HighscoreRecord& record)
{
    HighscoreRecordBytes bytes{};
    const auto points = static_cast<std::uint16_t>(record.points);
    bytes[0] = static_cast<unsigned char>(points & 0xFF);
    bytes[1] = static_cast<unsigned char>(points >> 8);
    putText(bytes, kNameOffset, record.name);
    putText(bytes, kDateOffset, record.date);
    return bytes;
}

HighscoreRecord decodeHighscoreRecord(const HighscoreRecordBytes& bytes)
{
    HighscoreRecord record;
    record.points = static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8));
    record.name = getText<decltype(HighscoreRecord::name)::width>(bytes, kNameOffset);
    record.date = getText<decltype(HighscoreRecord::date)::width>(bytes, kDateOffset);
    return record;
}

}  // namespace kv
