#include "editors/channel_plan_fields.h"

#include "image/freq_codec.h"
#include "image/tone_codec.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace nx5rb::plan {

namespace {

std::int64_t Pow10(int n)
{
    std::int64_t value = 1;
    while (n-- > 0)
        value *= 10;
    return value;
}

} // namespace

// ---- numbers written as decimal text ----

bool AllDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::int64_t> ParseFixed(std::string_view text, int scale)
{
    const std::size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    const std::string_view fraction
        = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if ((whole.empty() && fraction.empty()) || !AllDigits(whole) || !AllDigits(fraction))
        return std::nullopt;
    while (whole.size() > 1 && whole.front() == '0')
        whole.remove_prefix(1);
    if (whole.size() > 12)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : whole)
        value = value * 10 + (c - '0');
    for (int i = 0; i < scale; ++i)
        value = value * 10 + (std::size_t(i) < fraction.size() ? fraction[i] - '0' : 0);
    for (std::size_t i = std::size_t(scale); i < fraction.size(); ++i)
        if (fraction[i] != '0')
            return std::nullopt;
    return value;
}

std::string FixedText(std::int64_t value, int scale, bool trim)
{
    const std::string sign = value < 0 ? "-" : "";
    const std::uint64_t magnitude = value < 0 ? std::uint64_t(-value) : std::uint64_t(value);
    const std::uint64_t unit = std::uint64_t(Pow10(scale));
    std::string fraction = std::to_string(magnitude % unit);
    fraction.insert(0, std::size_t(scale) - fraction.size(), '0');
    if (trim)
        fraction.erase(fraction.find_last_not_of('0') + 1);
    std::string text = sign + std::to_string(magnitude / unit);
    if (!fraction.empty())
        text += "." + fraction;
    return text;
}

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameLetters(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x))
                   == std::tolower(static_cast<unsigned char>(y));
           });
}

// ---- fields of a record, through the image codecs ----

namespace {

// The codecs work on fields of an image; a scratch image lends them one field at its start.
RadioImage &Scratch()
{
    thread_local RadioImage scratch {};
    return scratch;
}

} // namespace

void StoreFreq(RadioImage &image, mm::Address at, std::int32_t freq10Hz)
{
    char text[24];
    std::snprintf(text, sizeof text, "%03d.%05d", int(freq10Hz / 100000), int(freq10Hz % 100000));
    FreqToData(text, image, at);
}

std::string FreqText(std::int32_t freq10Hz)
{
    RadioImage &scratch = Scratch();
    StoreFreq(scratch, 0, freq10Hz);
    return DataToFreq(scratch, 0);
}

// A field JudgeFreqVaid accepted: eight decimal digits.
std::int32_t FreqOf(const RadioImage &image, mm::Address at)
{
    std::int32_t value = 0;
    for (mm::Address i = 0; i < mm::kFreqFieldSize; ++i)
        value = value * 100 + (image[at + i] >> 4) * 10 + (image[at + i] & 0x0F);
    return value;
}

ToneCode ToneAt(const RadioImage &image, mm::Address at)
{
    return {image[at], image[at + 1]};
}

void StoreTone(RadioImage &image, mm::Address at, ToneCode tone)
{
    image[at] = tone.lo;
    image[at + 1] = tone.hi;
}

std::string ToneText(ToneCode tone)
{
    RadioImage &scratch = Scratch();
    StoreTone(scratch, 0, tone);
    return DataToQt(scratch, 0);
}

ToneCode ToneOf(int index)
{
    RadioImage &scratch = Scratch();
    QtToData(index, QtList()[index], scratch, 0);
    return ToneAt(scratch, 0);
}

std::optional<int> ListedIndex(std::string_view text)
{
    const auto &list = QtList();
    const auto match = std::find(list.begin(), list.end(), text);
    if (match == list.end())
        return std::nullopt;
    return int(match - list.begin());
}

void Erase(RadioImage &image, mm::Address from, mm::Address count)
{
    std::fill_n(image.begin() + from, count, mm::kErased);
}

std::uint8_t WithBit(std::uint8_t flags, std::uint8_t bit, bool set)
{
    return std::uint8_t(set ? flags | bit : flags & ~bit);
}

} // namespace nx5rb::plan
