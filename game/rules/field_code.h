#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace kv {

// A field's code text together with its fieldValue: the number the text
// begins with, 0 if it begins with no digit. The value is worked out once
// when the code is set, because the detectors read it for every line of
// every pass. Codes live inline, so copying one never allocates.
class FieldCode {
public:
    // Nine digits still fit a signed 32-bit value; the longest real code
    // has eight.
    static constexpr std::size_t kCapacity = 9;

    constexpr FieldCode() = default;

    constexpr explicit FieldCode(std::string_view text)
    {
        if (text.size() > kCapacity)
            throw std::length_error("field code too long");
        std::copy(text.begin(), text.end(), chars_.begin());
        length_ = static_cast<std::uint8_t>(text.size());
        for (char c : text) {
            if (c < '0' || c > '9')
                break;
            value_ = value_ * 10 + (c - '0');
        }
    }

    constexpr std::string_view text() const { return {chars_.data(), length_}; }
    constexpr std::int32_t value() const { return value_; }
    constexpr bool isFree() const { return length_ == 1 && chars_[0] == '0'; }

    friend constexpr bool operator==(const FieldCode& a, const FieldCode& b) { return a.text() == b.text(); }
    friend constexpr bool operator==(const FieldCode& a, std::string_view b) { return a.text() == b; }

private:
    std::array<char, kCapacity> chars_{};
    std::uint8_t length_ = 0;
    std::int32_t value_ = 0;
};

}  // namespace kv
