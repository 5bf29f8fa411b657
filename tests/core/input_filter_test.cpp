// Which keys reach an editor box while the user types.
#include "editors/input_filter.h"

#include <gtest/gtest.h>
#include <string>

namespace nx5rb {
namespace {

constexpr KeyKind kKinds[] = {KeyKind::Frequency, KeyKind::ShortFrequency, KeyKind::Name,
                              KeyKind::Number3,   KeyKind::Number2,        KeyKind::Number4};

// What each kind makes of a key typed into an empty box; 0 = swallowed.
struct KeyRow
{
    KeyCode key;
    KeyCode byKind[6];
};

constexpr KeyCode N = kKeyNone;
const KeyRow kKeyTable[] = {
    {'0', {'0', '0', '0', '0', '0', '0'}},
    {'9', {'9', '9', '9', '9', '9', '9'}},
    {'.', {'.', '.', N, N, N, N}},
    {'a', {N, N, 'A', N, N, N}},
    {'z', {N, N, 'Z', N, N, N}},
    {'Q', {N, N, 'Q', N, N, N}},
    {' ', {N, N, ' ', N, N, N}},
    {'[', {N, N, '[', N, N, N}},
    {']', {N, N, ']', N, N, N}},
    {'=', {N, N, '=', N, N, N}},
    {'+', {N, N, '+', N, N, N}},
    {'-', {N, N, '-', N, N, N}},
    {'_', {N, N, '_', N, N, N}},
    {'*', {N, N, '*', N, N, N}},
    {'/', {N, N, '/', N, N, N}},
    {'\\', {N, N, N, N, N, N}},
    {',', {N, N, N, N, N, N}},
    {'~', {N, N, N, N, N, N}},
    {'{', {N, N, N, N, N, N}},
    {kKeyBackspace, {8, 8, 8, 8, 8, 8}},
    {kKeyEnter, {13, 13, 13, 13, 13, 13}},
    {9, {N, N, N, N, N, N}},
};

TEST(FilterKey, KeysAcceptedByEachKind)
{
    for (const KeyRow &row : kKeyTable)
        for (int k = 0; k < 6; ++k)
            EXPECT_EQ(FilterKey({"", 0}, row.key, kKinds[k]), row.byKind[k])
                << "key " << row.key << " kind " << k + 1;
}

TEST(FilterKey, FullBoxTakesOnlyControlKeysOrAReplacement)
{
    const int lengths[] = {9, 8, 6, 3, 2, 4};
    for (int k = 0; k < 6; ++k) {
        const KeyKind kind = kKinds[k];
        EXPECT_EQ(MaxLength(kind), lengths[k]);
        const std::string full(lengths[k], '1');
        const std::string almost(lengths[k] - 1, '1');
        EXPECT_EQ(FilterKey({almost, 0}, '5', kind), '5') << k + 1;
        EXPECT_EQ(FilterKey({full, 0}, '5', kind), kKeyNone) << k + 1;
        EXPECT_EQ(FilterKey({full, 1}, '5', kind), '5') << k + 1;
        EXPECT_EQ(FilterKey({full, 0}, kKeyBackspace, kind), kKeyBackspace) << k + 1;
        EXPECT_EQ(FilterKey({full, 0}, kKeyEnter, kind), kKeyEnter) << k + 1;
    }
}

TEST(FilterKey, TypingIntoANumberBox)
{
    EXPECT_EQ(FilterKey({"12", 0}, '3', KeyKind::Number3), '3');
    EXPECT_EQ(FilterKey({"123", 0}, '4', KeyKind::Number3), kKeyNone);
    EXPECT_EQ(FilterKey({"123", 3}, '9', KeyKind::Number3), '9');
    // A limit set on the box itself holds where it is the smaller one.
    EXPECT_EQ(FilterKey({"12", 0}, '3', KeyKind::Number4, 2), kKeyNone);
    EXPECT_EQ(FilterKey({"12", 0}, '3', KeyKind::Number4, 3), '3');
    EXPECT_EQ(FilterKey({"123", 0}, '4', KeyKind::Number3, 5), kKeyNone);
}

TEST(FilterKey, OnePointOnly)
{
    EXPECT_EQ(FilterKey({"145", 0}, '.', KeyKind::Frequency), '.');
    EXPECT_EQ(FilterKey({"145.1", 0}, '.', KeyKind::Frequency), kKeyNone);
    EXPECT_EQ(FilterKey({"145.1", 5}, '.', KeyKind::Frequency), kKeyNone);
    EXPECT_EQ(FilterKey({"145.1", 0}, '2', KeyKind::Frequency), '2');
    EXPECT_EQ(FilterKey({"1.", 0}, '.', KeyKind::ShortFrequency), kKeyNone);
}

TEST(PowerOnMsgKey, OnePrintableCharacterPerBox)
{
    const struct
    {
        const char *text;
        int selected;
        KeyCode key;
        MessageKey expected;
    } cases[] = {
        {"", 0, 'A', {'A', true, true}},
        {"", 0, 'a', {'a', true, true}}, // no case folding here
        {"", 0, '~', {'~', true, true}},
        {"", 0, ' ', {' ', true, true}},
        {"", 0, 127, {kKeyNone, false, false}},
        {"", 0, 200, {kKeyNone, false, false}},
        {"", 0, 31, {kKeyNone, false, false}},
        {"", 0, 9, {kKeyNone, false, false}},
        {"X", 0, 'B', {kKeyNone, false, false}},
        {"X", 1, 'B', {'B', true, true}},
        {"X", 0, kKeyEnter, {kKeyEnter, true, true}},
        {"X", 0, kKeyBackspace, {kKeyBackspace, false, true}},
        {"", 0, kKeyBackspace, {kKeyBackspace, false, true}},
    };
    for (const auto &c : cases) {
        const MessageKey result = PowerOnMsgKey({c.text, c.selected}, c.key);
        EXPECT_EQ(result.key, c.expected.key) << '"' << c.text << "\" key " << c.key;
        EXPECT_EQ(result.commit, c.expected.commit) << '"' << c.text << "\" key " << c.key;
        EXPECT_EQ(result.dataChanged, c.expected.dataChanged)
            << '"' << c.text << "\" key " << c.key;
    }
}

} // namespace
} // namespace nx5rb
