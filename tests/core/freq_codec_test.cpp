// Frequency fields, band-limit words, packed BCD bytes and the channel raster.
#include "image/freq_codec.h"
#include "support/image_bytes.h"

#include <clocale>
#include <cstdio>
#include <gtest/gtest.h>
#include <locale>
#include <random>
#include <string>

namespace nx5rb {
namespace {

using test::Bytes;
using test::Get;
using test::Put;

// A place for a frequency field in the middle of the channel table.
constexpr mm::Address kField = mm::ChannelRecord(5) + mm::kChRxFreq;

RadioImage ErasedImage()
{
    RadioImage image;
    EraseImage(image);
    return image;
}

FreqAreaTable DefaultAreas()
{
    return {{{136, 175, 136, 175, 134}, {400, 470, 400, 470, 400}, {200, 260, 200, 260, 200}}};
}

TEST(JudgeDataIsBCD, AcceptsOnlyDecimalDigits)
{
    EXPECT_TRUE(JudgeDataIsBCD(""));
    EXPECT_TRUE(JudgeDataIsBCD("0123456789"));
    EXPECT_FALSE(JudgeDataIsBCD("12A4"));
    EXPECT_FALSE(JudgeDataIsBCD("12.4"));
    EXPECT_FALSE(JudgeDataIsBCD("/")); // the characters either side of the digits
    EXPECT_FALSE(JudgeDataIsBCD(":"));
    EXPECT_FALSE(JudgeDataIsBCD(" 1"));
}

struct FieldCase
{
    Bytes field;
    bool receive;
    bool valid;
};

class JudgeFreqVaidTest : public testing::TestWithParam<FieldCase>
{
};

TEST_P(JudgeFreqVaidTest, FieldAgainstBandLimits)
{
    // Band A receives 136..175 but transmits only 140..170, so one field can be a valid
    // receive frequency and an invalid transmit frequency.
    FreqAreaTable areas = DefaultAreas();
    areas[0].TxLow = 140;
    areas[0].TxHigh = 170;
    RadioImage image = ErasedImage();
    Put(image, kField, GetParam().field);
    EXPECT_EQ(JudgeFreqVaid(image, areas, kField, GetParam().receive), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, JudgeFreqVaidTest,
    testing::Values(FieldCase {{0xFF, 0xFF, 0xFF, 0xFF}, true, false},
                    FieldCase {{0xFF, 0xFF, 0xFF, 0xFF}, false, false},
                    FieldCase {{0x13, 0x60, 0x00, 0x00}, true, true},
                    FieldCase {{0x13, 0x60, 0x00, 0x00}, false, false},
                    FieldCase {{0x13, 0x59, 0x99, 0x99}, true, false},
                    FieldCase {{0x17, 0x50, 0x00, 0x00}, true, true}, // upper limit inclusive
                    FieldCase {{0x17, 0x50, 0x00, 0x01}, true, false},
                    FieldCase {{0x17, 0x00, 0x00, 0x00}, false, true},
                    FieldCase {{0x17, 0x00, 0x00, 0x01}, false, false},
                    FieldCase {{0x14, 0x00, 0x00, 0x00}, false, true}, // lower limit inclusive
                    FieldCase {{0x20, 0x00, 0x00, 0x00}, true, true}, // band C
                    FieldCase {{0x19, 0x99, 0x99, 0x99}, true, false},
                    FieldCase {{0x43, 0x30, 0x06, 0x25}, true, true}, // band B
                    FieldCase {{0x47, 0x00, 0x00, 0x00}, false, true},
                    FieldCase {{0x47, 0x00, 0x00, 0x10}, false, false},
                    FieldCase {{0x09, 0x12, 0x34, 0x56}, true, false},
                    FieldCase {{0x14, 0x5A, 0x00, 0x00}, true, false}, // a nibble above 9
                    FieldCase {{0x13, 0x60, 0x00, 0x0A}, true, false},
                    FieldCase {{0x1F, 0x50, 0x00, 0x00}, true, false}));

TEST(JudgeFreqVaid, FieldPastTheEndOfTheImageIsInvalid)
{
    RadioImage image = ErasedImage();
    Put(image, mm::kImageSize - 3, {0x13, 0x60, 0x00});
    EXPECT_FALSE(JudgeFreqVaid(image, DefaultAreas(), mm::kImageSize - 3, true));
}

TEST(DataToFreq, WritesDigitsAndFillsToNineCharacters)
{
    const struct
    {
        Bytes field;
        const char *text;
    } cases[] = {
        {{0x14, 0x51, 0x25, 0x00}, "145.12500"},
        {{0x13, 0x60, 0x00, 0x00}, "136.00000"},
        {{0x43, 0x30, 0x06, 0x25}, "433.00625"},
        {{0x09, 0x12, 0x34, 0x56}, "91.234560"}, // the zero goes at the end
        {{0x00, 0x00, 0x00, 0x00}, "00.000000"},
        {{0x1A, 0x2B, 0x00, 0x00}, "1A2.110000"}, // nibbles above 9 as 10..15
        {{0xFF, 0xFF, 0xFF, 0xFF}, "FF15.1515151515"},
    };
    for (const auto &c : cases) {
        RadioImage image = ErasedImage();
        Put(image, kField, c.field);
        EXPECT_EQ(DataToFreq(image, kField), c.text);
    }
}

struct EncodeCase
{
    const char *text;
    Bytes field;
    const char *returned;
};

class FreqToDataTest : public testing::TestWithParam<EncodeCase>
{
};

TEST_P(FreqToDataTest, WritesTheFourBytesOfTheField)
{
    RadioImage image = ErasedImage();
    const auto returned = FreqToData(GetParam().text, image, kField);
    ASSERT_TRUE(returned.has_value());
    EXPECT_EQ(*returned, GetParam().returned);
    EXPECT_EQ(Get(image, kField, 4), GetParam().field);
    EXPECT_EQ(DataToFreq(image, kField), *returned);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FreqToDataTest,
    testing::Values(EncodeCase {"136", {0x13, 0x60, 0x00, 0x00}, "136.00000"},
                    EncodeCase {"145.0125", {0x14, 0x50, 0x12, 0x50}, "145.01250"},
                    EncodeCase {"145.125", {0x14, 0x51, 0x25, 0x00}, "145.12500"},
                    EncodeCase {"145.1", {0x14, 0x51, 0x00, 0x00}, "145.10000"},
                    EncodeCase {"145.", {0x14, 0x50, 0x00, 0x00}, "145.00000"},
                    EncodeCase {"433.00625", {0x43, 0x30, 0x06, 0x25}, "433.00625"},
                    EncodeCase {"999.99999", {0x99, 0x99, 0x99, 0x99}, "999.99999"},
                    // Digits past the ninth character lie outside the field's fixed positions.
                    EncodeCase {"145.0125999", {0x14, 0x50, 0x12, 0x59}, "145.01259"},
                    // Below 100 MHz the value is encoded, truncated to 10 Hz.
                    EncodeCase {"91.23456", {0x09, 0x12, 0x34, 0x56}, "91.234560"},
                    EncodeCase {"91.234567", {0x09, 0x12, 0x34, 0x56}, "91.234560"},
                    EncodeCase {"5", {0x00, 0x50, 0x00, 0x00}, "05.000000"},
                    EncodeCase {"0.5", {0x00, 0x05, 0x00, 0x00}, "00.500000"},
                    EncodeCase {"99.99999", {0x09, 0x99, 0x99, 0x99}, "99.999990"},
                    EncodeCase {"0145.5", {0x14, 0x55, 0x00, 0x00}, "145.50000"}));

TEST(FreqToData, RefusesTextItCannotEncodeAndLeavesTheFieldAlone)
{
    for (const char *text : {"1000", "1000.5", "12345", "abc", "14a.5", "-5", "+145", " 136", "1e2",
                             "145..0", "145.0125x", "", ".", "145,0125"}) {
        RadioImage image = ErasedImage();
        Put(image, kField, {0x13, 0x60, 0x00, 0x00});
        const RadioImage before = image;
        EXPECT_EQ(FreqToData(text, image, kField), std::nullopt) << '"' << text << '"';
        EXPECT_EQ(image, before) << '"' << text << '"';
    }
}

TEST(FreqToData, NeverWritesOutsideItsField)
{
    for (const char *text : {"145.0125999999", "91.23456789", "0", "999.999999999"}) {
        RadioImage image;
        image.fill(0xA5);
        ASSERT_TRUE(FreqToData(text, image, kField).has_value()) << text;
        for (std::size_t a = 0; a < image.size(); ++a)
            if (a < kField || a >= kField + 4u) {
                ASSERT_EQ(image[a], 0xA5) << text << " at " << a;
            }
    }
    // A field that would run past the end of the image is not written at all.
    RadioImage image;
    image.fill(0xA5);
    const RadioImage before = image;
    EXPECT_EQ(FreqToData("145.0125", image, mm::kImageSize - 2), std::nullopt);
    EXPECT_EQ(image, before);
}

TEST(FreqToData, EveryBcdFieldRoundTripsThroughItsText)
{
    // Decoding any stored frequency and encoding the text again must give the same bytes, so an
    // edit that does not change a channel never changes its record.
    std::mt19937 random(20140501);
    std::uniform_int_distribution<int> digit(0, 9);
    for (int i = 0; i < 2000; ++i) {
        Bytes field(4);
        for (auto &b : field)
            b = std::uint8_t(digit(random) * 16 + digit(random));
        if (i < 10)
            field[0] = std::uint8_t(i); // below 10 MHz: the hex text of byte 0 is one digit
        RadioImage image = ErasedImage();
        Put(image, kField, field);
        const std::string text = DataToFreq(image, kField);
        RadioImage again = ErasedImage();
        const auto returned = FreqToData(text, again, kField);
        ASSERT_TRUE(returned.has_value()) << text;
        EXPECT_EQ(*returned, text);
        EXPECT_EQ(Get(again, kField, 4), field) << text;
    }
}

TEST(NumToBCD3, BandLimitWords)
{
    const struct
    {
        int n;
        std::uint16_t word;
    } cases[] = {
        {0, 0x0000},   {136, 0x1360},  {175, 0x1750},  {470, 0x4700},
        {520, 0x5200}, {799, 0x7990},  {800, 0x8000},  {999, 0x9990},
        {-1, 0x0000},  {-500, 0x0000}, {1000, 0x9990}, {32767, 0x9990},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NumToBCD3(c.n), c.word) << c.n;
}

TEST(NumToBCD3, ReadsAsTheNumberInTenthsForEveryThreeDigitValue)
{
    for (int n = 0; n <= 999; ++n) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%04X", unsigned(NumToBCD3(n)));
        char tenths[8];
        std::snprintf(tenths, sizeof tenths, "%04d", n * 10);
        EXPECT_STREQ(hex, tenths) << n;
    }
}

TEST(NumToBCD2, PackedByteAndTheValuesAboveIt)
{
    const struct
    {
        std::int16_t n;
        std::int16_t result;
    } cases[] = {{0, 0x00},   {9, 0x09},    {10, 0x10},  {45, 0x45},  {99, 0x99},
                 {123, 0xC3}, {255, 0x195}, {256, 0x00}, {1000, 0x00}};
    for (const auto &c : cases)
        EXPECT_EQ(NumToBCD2(c.n), c.result) << c.n;
    for (int n = 0; n <= 99; ++n) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02X", unsigned(NumToBCD2(std::int16_t(n))));
        char dec[8];
        std::snprintf(dec, sizeof dec, "%02d", n);
        EXPECT_STREQ(hex, dec);
    }
}

TEST(FreqToStep, MovesToTheNearerRaster)
{
    const struct
    {
        double kHz;
        double stepped;
    } cases[] = {
        {145012.5, 145012.5}, // on the 6.25 kHz raster
        {145010, 145010}, // on the 5 kHz raster
        {145003, 145005}, // 2 kHz from the 5 kHz raster, 3 from the 6.25
        {145005.625, 145006.25}, // equally far from both: 6.25 kHz wins
        {145006, 145006.25},     {145008, 145006.25}, {145009, 145010}, {0, 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FreqToStep(c.kHz), c.stepped) << c.kHz;
        EXPECT_EQ(FreqToStep(FormatDecimal(c.kHz)), c.stepped) << c.kHz;
    }
}

TEST(FreqToStep, TextThatIsNoNumberGivesNothing)
{
    for (const char *text : {"", "abc", "145,5", "145.0.1", "1e3", "nan", "inf", " 145"})
        EXPECT_EQ(FreqToStep(std::string_view(text)), std::nullopt) << '"' << text << '"';
}

TEST(DecimalText, HalvesToEvenAndShortestText)
{
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(FormatDecimal(136), "136");
    EXPECT_EQ(FormatDecimal(145006.25 / 1000), "145.00625");
    EXPECT_EQ(FormatDecimal(136.0125), "136.0125");
    EXPECT_EQ(FormatDecimal(145012.5), "145012.5");
    EXPECT_EQ(FormatDecimal(0.1 + 0.2), "0.3");
}

// Turns the process's locale into one that writes "," as the decimal point, for C and for C++,
// and back again at the end of the test.
class CommaLocale
{
public:
    CommaLocale()
        : oldCpp_(std::locale())
    {
        oldC_ = std::setlocale(LC_ALL, nullptr);
        for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR"})
            if (std::setlocale(LC_ALL, name)) {
                cChanged_ = true;
                break;
            }
        std::locale::global(std::locale(std::locale::classic(), new Comma));
    }
    ~CommaLocale()
    {
        std::setlocale(LC_ALL, oldC_.c_str());
        std::locale::global(oldCpp_);
    }
    bool CChanged() const { return cChanged_; }

private:
    struct Comma : std::numpunct<char>
    {
        char do_decimal_point() const override { return ','; }
    };
    std::locale oldCpp_;
    std::string oldC_;
    bool cChanged_ = false;
};

TEST(Codecs, IgnoreTheUsersDecimalComma)
{
    CommaLocale locale;
    if (!locale.CChanged())
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5");

    EXPECT_EQ(ParseDecimal("145.0125"), 145.0125);
    EXPECT_EQ(ParseDecimal("145,0125"), std::nullopt);
    EXPECT_EQ(FreqToStep("145005.625"), 145006.25);
    EXPECT_EQ(FormatDecimal(145006.25 / 1000), "145.00625");

    RadioImage image = ErasedImage();
    EXPECT_EQ(FreqToData("145.0125", image, kField), "145.01250");
    EXPECT_EQ(Get(image, kField, 4), (Bytes {0x14, 0x50, 0x12, 0x50}));
    EXPECT_TRUE(JudgeFreqVaid(image, DefaultAreas(), kField, true));
    Put(image, kField, {0x17, 0x50, 0x00, 0x01});
    EXPECT_FALSE(JudgeFreqVaid(image, DefaultAreas(), kField, true));
}

} // namespace
} // namespace nx5rb
