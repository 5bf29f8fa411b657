#include "editors/input_filter.h"

#include <algorithm>

namespace nx5rb {

namespace {

bool IsDigitKey(KeyCode key)
{
    return key >= '0' && key <= '9';
}

bool IsControlKey(KeyCode key)
{
    return key == kKeyBackspace || key == kKeyEnter;
}

bool AcceptedByKind(KeyCode key, KeyKind kind)
{
    if (IsControlKey(key) || IsDigitKey(key))
        return true;
    switch (kind) {
    case KeyKind::Frequency:
    case KeyKind::ShortFrequency:
        return key == '.';
    case KeyKind::Name:
        return (key >= 'A' && key <= 'Z') || key == ' ' || key == '[' || key == ']' || key == '='
            || key == '+' || key == '-' || key == '_' || key == '*' || key == '/';
    case KeyKind::Number3:
    case KeyKind::Number2:
    case KeyKind::Number4:
        return false;
    }
    return true; // a kind outside 1..6 accepts every key at this step
}

// Characters, not bytes: the boxes may hold text that arrived by pasting.
int CharacterCount(std::string_view text)
{
    return int(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

} // namespace

int MaxLength(KeyKind kind)
{
    switch (kind) {
    case KeyKind::Frequency:
        return 9;
    case KeyKind::ShortFrequency:
        return 8;
    case KeyKind::Name:
        return 6;
    case KeyKind::Number3:
        return 3;
    case KeyKind::Number2:
        return 2;
    case KeyKind::Number4:
        return 4;
    }
    return 0;
}

KeyCode FilterKey(BoxState box, KeyCode key, KeyKind kind, int boxMaxLength)
{
    int maxLength = MaxLength(kind);
    if (boxMaxLength > 0)
        maxLength = std::min(maxLength, boxMaxLength);

    if (key == '.' && box.text.find('.') != std::string_view::npos)
        key = kKeyNone;
    if (key >= 'a' && key <= 'z')
        key = KeyCode(key - 'a' + 'A');
    if (key != kKeyNone && !AcceptedByKind(key, kind))
        key = kKeyNone;
    if (key != kKeyNone && CharacterCount(box.text) == maxLength && box.selectionLength == 0
        && !IsControlKey(key))
        key = kKeyNone;
    return key;
}

MessageKey PowerOnMsgKey(BoxState box, KeyCode key)
{
    MessageKey result;
    if (!IsControlKey(key) && (key < 32 || key > 126))
        return result;
    if (CharacterCount(box.text) == 1 && box.selectionLength == 0 && !IsControlKey(key))
        return result;
    result.key = key;
    result.commit = key != kKeyBackspace;
    result.dataChanged = true;
    return result;
}

} // namespace nx5rb
