// Which keys an editor box accepts while the user types.
#pragma once

#include <cstdint>
#include <string_view>

namespace nx5rb {

// A key is its character code; 0 means the key is swallowed.
using KeyCode = std::uint16_t;
inline constexpr KeyCode kKeyNone = 0;
inline constexpr KeyCode kKeyBackspace = 8;
inline constexpr KeyCode kKeyEnter = 13;

// Field kinds of the shared filter, with their maximum text length.
enum class KeyKind : std::int16_t {
    Frequency = 1, // 9 characters, digits and one point (channel frequencies)
    ShortFrequency = 2, // 8 characters, digits and one point
    Name = 3, // 6 characters, upper-case letters, digits and a few signs
    Number3 = 4, // 3 digits
    Number2 = 5, // 2 digits
    Number4 = 6, // 4 digits
};

// What the filter needs to know of the box: its text and how much of it is selected.
struct BoxState
{
    std::string_view text;
    int selectionLength = 0;
};

int MaxLength(KeyKind kind);

// The key as it reaches the box: unchanged, changed (lower-case letters become upper case) or 0.
// `boxMaxLength` is a limit set on the box itself (0 for none); the smaller limit holds.
KeyCode FilterKey(BoxState box, KeyCode key, KeyKind kind, int boxMaxLength = 0);

// The rule of the power-on message boxes, one printable character each.
struct MessageKey
{
    KeyCode key = kKeyNone; // the key as it reaches the box
    bool commit = false; // store the box and move on to the next one
    bool dataChanged = false;
};
MessageKey PowerOnMsgKey(BoxState box, KeyCode key);

} // namespace nx5rb
