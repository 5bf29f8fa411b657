// The number a committed editor box holds. The key filter lets only digits in, but text can still
// arrive by other ways (a paste the binder missed, a script), so a commit asks this first and keeps
// the stored value when the answer is nothing.
#pragma once

#include <limits>
#include <optional>
#include <string_view>

namespace nx5rb {

// The value of a text made of decimal digits only; a value too large for an int reads as the
// largest int, so it is clamped like any other number above a field's limit. Empty text, signs,
// spaces and every other character read as no number.
inline std::optional<int> TypedNumber(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    constexpr int kLargest = std::numeric_limits<int>::max();
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const int digit = c - '0';
        value = value > (kLargest - digit) / 10 ? kLargest : value * 10 + digit;
    }
    return value;
}

} // namespace nx5rb
