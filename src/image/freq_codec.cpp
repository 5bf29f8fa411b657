#include "image/freq_codec.h"

#include "image/frequency.h"
#include "image/records.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace nx5rb {

namespace {

constexpr std::size_t kFreqTextLength = 9;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view text)
{
    for (char c : text)
        if (!IsDigit(c))
            return false;
    return true;
}

std::string NibbleText(int nibble)
{
    return std::to_string(nibble);
}

// FreqFieldText without the final filling to nine characters.
std::string RawFreqText(std::span<const std::uint8_t, mm::kFreqFieldSize> field)
{
    const std::uint8_t b1 = field[1];
    const std::uint8_t b2 = field[2];
    const std::uint8_t b3 = field[3];
    std::string text = HexText(field[0]);
    text += NibbleText(b1 >> 4);
    text += '.';
    text += NibbleText(b1 & 0x0F);
    text += NibbleText(b2 >> 4);
    text += NibbleText(b2 & 0x0F);
    text += NibbleText(b3 >> 4);
    text += NibbleText(b3 & 0x0F);
    return text;
}

bool FieldInImage(mm::Address offset)
{
    return std::size_t(offset) + 4 <= mm::kImageSize;
}

void StoreField(RadioImage &image, mm::Address offset, const std::array<std::uint8_t, 4> &bytes)
{
    for (int i = 0; i < 4; ++i)
        image[offset + i] = bytes[i];
}

std::uint8_t DigitPair(char tens, char units)
{
    return std::uint8_t(NumToBCD2(std::int16_t((tens - '0') * 10 + (units - '0'))));
}

} // namespace

bool JudgeDataIsBCD(std::string_view text)
{
    for (char c : text)
        if (c > '9' || c < '0')
            return false;
    return true;
}

bool JudgeFreqVaid(const RadioImage &image, const FreqAreaTable &areas, mm::Address offset,
                   bool receive)
{
    if (!FieldInImage(offset))
        return false;
    const std::optional<Frequency> frequency
        = DecodeFrequency(std::span<const std::uint8_t, mm::kFreqFieldSize>(image.data() + offset,
                                                                            mm::kFreqFieldSize));
    return frequency && InsideABand(*frequency, areas, receive);
}

std::string DataToFreq(const RadioImage &image, mm::Address offset)
{
    if (!FieldInImage(offset))
        return {};
    return FreqFieldText(std::span<const std::uint8_t, mm::kFreqFieldSize>(image.data() + offset,
                                                                           mm::kFreqFieldSize));
}

std::string FreqFieldText(std::span<const std::uint8_t, mm::kFreqFieldSize> field)
{
    std::string text = RawFreqText(field);
    if (text.size() < kFreqTextLength)
        text.append(kFreqTextLength - text.size(), '0');
    return text;
}

std::optional<std::string> FreqToData(std::string_view text, RadioImage &image, mm::Address offset)
{
    // Without a digit there is no number; filling it out would store 0 MHz.
    if (!FieldInImage(offset) || text.find_first_of("0123456789") == std::string_view::npos)
        return std::nullopt;
    std::string filled(text);
    if (filled.size() < kFreqTextLength) {
        if (filled.find('.') == std::string::npos)
            filled += '.';
        filled.append(kFreqTextLength - filled.size(), '0');
    }

    // The radio's own layout: three digits, the point, then fixed positions for the decimals.
    if (filled[3] == '.' && AllDigits(std::string_view(filled).substr(0, 3))
        && AllDigits(std::string_view(filled).substr(4))) {
        const int tenths = std::atoi(filled.substr(0, 3).c_str()) * 10 + (filled[4] - '0');
        StoreField(image, offset,
                   {std::uint8_t(NumToBCD2(std::int16_t(tenths / 100))),
                    std::uint8_t(NumToBCD2(std::int16_t(tenths % 100))),
                    DigitPair(filled[5], filled[6]), DigitPair(filled[7], filled[8])});
        filled.resize(kFreqTextLength);
        return filled;
    }

    // Any other decimal: encode its value, truncated to 10 Hz, as eight digits.
    const std::size_t point = filled.find('.');
    const std::string_view whole = std::string_view(filled).substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : filled.substr(point + 1);
    if (!AllDigits(whole) || !AllDigits(fraction) || whole.size() + fraction.size() == 0)
        return std::nullopt;
    std::size_t firstNonZero = whole.find_first_not_of('0');
    const std::string_view significant
        = firstNonZero == std::string_view::npos ? std::string_view() : whole.substr(firstNonZero);
    if (significant.size() > 3)
        return std::nullopt;
    std::string digits = std::string(3 - significant.size(), '0') + std::string(significant);
    fraction.resize(5, '0');
    digits += fraction;
    StoreField(image, offset,
               {DigitPair(digits[0], digits[1]), DigitPair(digits[2], digits[3]),
                DigitPair(digits[4], digits[5]), DigitPair(digits[6], digits[7])});
    return DataToFreq(image, offset);
}

std::uint16_t NumToBCD3(int n)
{
    if (n < 0)
        n = 0;
    if (n > 999)
        n = 999;
    const int t = n / 10;
    const int h = n / 100;
    return std::uint16_t(h * 4096 + (t % 10) * 256 + (n % 10) * 16);
}

std::int16_t NumToBCD2(std::int16_t n)
{
    if (n >= 256)
        return 0;
    return std::int16_t((n / 10) * 16 + n % 10);
}

double RoundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

double FreqToStep(double v)
{
    const double q5 = v / 5;
    const double q6 = v / 6.25;
    const double r5 = RoundHalfEven(q5);
    const double r6 = RoundHalfEven(q6);
    if (q5 == r5 || q6 == r6)
        return v;
    const double d5 = std::fabs(v - 5 * r5);
    const double d6 = std::fabs(v - 6.25 * r6);
    if (d5 >= d6)
        return 6.25 * RoundHalfEven(v / 6.25);
    return 5 * RoundHalfEven(v / 5);
}

std::optional<double> FreqToStep(std::string_view kHzText)
{
    const std::optional<double> v = ParseDecimal(kHzText);
    if (!v)
        return std::nullopt;
    return FreqToStep(*v);
}

std::optional<double> ParseDecimal(std::string_view text)
{
    double value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    // "inf" and "nan" parse, but are no decimal numbers.
    if (ec != std::errc() || ptr != end || text.empty() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string FormatDecimal(double value)
{
    char buffer[64];
    auto [ptr, ec]
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, ec == std::errc() ? ptr : buffer);
    if (text.find('e') == std::string::npos)
        return text;
    // Outside the range "general" writes without an exponent: fixed notation, trimmed.
    auto fixed = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    text.assign(buffer, fixed.ec == std::errc() ? fixed.ptr : buffer);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return text;
}

std::string HexText(std::uint8_t value)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    if (value >= 16)
        text += kDigits[value >> 4];
    text += kDigits[value & 0x0F];
    return text;
}

std::string BandLimitText(std::uint8_t b0, std::uint8_t b1)
{
    return HexText(b0) + HexText(b1).front();
}

int LeadingNumber(std::string_view text)
{
    int value = 0;
    for (std::size_t i = 0; i < text.size() && i < 9 && IsDigit(text[i]); ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

} // namespace nx5rb
