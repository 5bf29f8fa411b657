// The frequency value, its 4-byte field, the band-limit word, and JudgeFreqVaid on values.
#include "image/freq_codec.h"
#include "image/frequency.h"
#include "image/records.h"
#include "support/image_bytes.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>

namespace nx5rb {
namespace {

using test::Bytes;

using Field = std::array<std::uint8_t, mm::kFreqFieldSize>;

std::optional<std::int32_t> Decoded(const Field &field)
{
    const std::optional<Frequency> f = DecodeFrequency(field);
    return f ? std::optional(f->TensOfHz()) : std::nullopt;
}

static_assert(Frequency::FromMHz(145, 12, 50) == Frequency::FromTensOfHz(14501250));
static_assert(Frequency::FromKHz(6, 25) == Frequency::FromTensOfHz(625));
static_assert(Frequency::FromMHz(136) < Frequency::FromMHz(136, 0, 1));

TEST(FrequencyField, DecodesEightBcdDigitsAndNothingElse)
{
    const struct
    {
        Field field;
        std::optional<std::int32_t> tensOfHz;
    } cases[] = {
        {{0x00, 0x00, 0x00, 0x00}, 0},
        {{0x00, 0x00, 0x00, 0x01}, 1},
        {{0x99, 0x99, 0x99, 0x99}, 99999999},
        {{0x14, 0x50, 0x12, 0x50}, 14501250},
        {{0x01, 0x23, 0x45, 0x67}, 1234567},
        {{0xFF, 0xFF, 0xFF, 0xFF}, std::nullopt}, // erased
        {{0xA0, 0x00, 0x00, 0x00}, std::nullopt}, // a nibble above 9, in each of the eight places
        {{0x0A, 0x00, 0x00, 0x00}, std::nullopt},
        {{0x00, 0xA0, 0x00, 0x00}, std::nullopt},
        {{0x00, 0x0A, 0x00, 0x00}, std::nullopt},
        {{0x00, 0x00, 0xA0, 0x00}, std::nullopt},
        {{0x00, 0x00, 0x0A, 0x00}, std::nullopt},
        {{0x99, 0x99, 0x99, 0xA9}, std::nullopt},
        {{0x99, 0x99, 0x99, 0x9A}, std::nullopt},
        {{0x14, 0x50, 0x00, 0xFF}, std::nullopt}, // erased in part
    };
    for (const auto &c : cases)
        EXPECT_EQ(Decoded(c.field), c.tensOfHz) << testing::PrintToString(c.field);
}

TEST(FrequencyField, EncodesWhatItHoldsAndRefusesTheRest)
{
    const struct
    {
        std::int32_t tensOfHz;
        std::optional<Field> field; // nothing: refused, the field left alone
    } cases[] = {
        {0, Field {0x00, 0x00, 0x00, 0x00}},
        {99999999, Field {0x99, 0x99, 0x99, 0x99}},
        {14501250, Field {0x14, 0x50, 0x12, 0x50}},
        {100000000, std::nullopt},
        {-1, std::nullopt},
    };
    for (const auto &c : cases) {
        Field field = {0x5A, 0x5A, 0x5A, 0x5A};
        const bool written = EncodeFrequency(Frequency::FromTensOfHz(c.tensOfHz), field);
        EXPECT_EQ(written, c.field.has_value()) << c.tensOfHz;
        EXPECT_EQ(field, c.field.value_or(Field {0x5A, 0x5A, 0x5A, 0x5A})) << c.tensOfHz;
    }
}

// The value codec and the text codec the pages use agree on every byte of the field.
TEST(FrequencyField, RoundTripsAndAgreesWithTheTextCodec)
{
    std::mt19937 random(15);
    std::uniform_int_distribution<std::int32_t> anyValue(0, kLargestFieldFrequency.TensOfHz());
    for (int i = 0; i < 20000; ++i) {
        const std::int32_t value = i < 100 ? i : i < 200 ? 99999999 - (i - 100) : anyValue(random);
        Field field {};
        ASSERT_TRUE(EncodeFrequency(Frequency::FromTensOfHz(value), field));
        ASSERT_EQ(Decoded(field), value);

        RadioImage image {};
        char text[16];
        std::snprintf(text, sizeof text, "%03d.%05d", value / 100000, value % 100000);
        ASSERT_TRUE(FreqToData(text, image, 0));
        ASSERT_EQ(test::Get(image, 0, 4), Bytes(field.begin(), field.end())) << text;
    }
}

// The text a band-limit word shows, read as the pages read it, for every word.
TEST(BandLimitMHz, ReadsEveryWordAsItsShownText)
{
    for (int b0 = 0; b0 < 256; ++b0)
        for (int b1 = 0; b1 < 256; ++b1)
            ASSERT_EQ(BandLimitMHz(std::uint8_t(b0), std::uint8_t(b1)),
                      LeadingNumber(BandLimitText(std::uint8_t(b0), std::uint8_t(b1))))
                << b0 << ' ' << b1;
}

// JudgeFreqVaid as it was: the field as hexadecimal text, read as a decimal number of MHz.
bool TextJudgeFreqVaid(const RadioImage &image, const FreqAreaTable &areas, mm::Address offset,
                       bool receive)
{
    if (std::size_t(offset) + 4 > mm::kImageSize)
        return false;
    std::string hex;
    for (int i = 0; i < 4; ++i)
        hex += HexText(image[offset + i]);
    if (!JudgeDataIsBCD(hex))
        return false;
    std::string text = HexText(image[offset]) + std::to_string(image[offset + 1] >> 4) + '.';
    text += std::to_string(image[offset + 1] & 0x0F);
    for (int i = 2; i < 4; ++i)
        text += std::to_string(image[offset + i] >> 4) + std::to_string(image[offset + i] & 0x0F);
    const std::optional<double> v = ParseDecimal(text);
    if (!v)
        return false;
    for (const FreqArea &area : areas) {
        const double low = receive ? area.RxLow : area.TxLow;
        const double high = receive ? area.RxHigh : area.TxHigh;
        if (low <= *v && *v <= high)
            return true;
    }
    return false;
}

TEST(JudgeFreqVaid, GivesWhatTheTextReadingGaveForRandomAndEdgeImages)
{
    std::mt19937 random(1515);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    const auto bcd = [&] { return std::uint8_t(pick(10) << 4 | pick(10)); };
    int accepted = 0;
    for (int round = 0; round < 400; ++round) {
        // Limits mostly like a band's, sometimes anything a working copy can hold.
        FreqAreaTable areas {};
        for (FreqArea &area : areas) {
            for (std::int16_t *limit : {&area.RxLow, &area.RxHigh, &area.TxLow, &area.TxHigh})
                *limit = std::int16_t(pick(4) == 0 ? pick(65536) - 32768 : pick(1000));
            if (pick(2) == 0)
                area.RxHigh = std::int16_t(area.RxLow + pick(80));
        }
        // Fields at a limit and one step either side, BCD, partly BCD, erased and random bytes.
        RadioImage image {};
        for (std::size_t at = 0; at < mm::kImageSize; at += 4) {
            const FreqArea &area = areas[pick(mm::kBandCount)];
            const std::int16_t limit
                = std::array {area.RxLow, area.RxHigh, area.TxLow, area.TxHigh}[pick(4)];
            const std::int64_t value
                = std::int64_t(limit) * Frequency::kTensOfHzPerMHz + pick(3) - 1;
            std::span<std::uint8_t, 4> field(image.data() + at, 4);
            switch (pick(5)) {
            case 0:
                if (EncodeFrequency(Frequency::FromTensOfHz(std::int32_t(value)), field))
                    break;
                [[fallthrough]];
            case 1:
                for (std::uint8_t &b : field)
                    b = bcd();
                break;
            case 2:
                for (std::uint8_t &b : field)
                    b = pick(8) == 0 ? std::uint8_t(pick(256)) : bcd();
                break;
            case 3:
                std::fill(field.begin(), field.end(), mm::kErased);
                break;
            default:
                for (std::uint8_t &b : field)
                    b = std::uint8_t(pick(256));
            }
        }
        // Every offset, the unaligned ones and those running past the end too.
        for (std::size_t offset = 0; offset < mm::kImageSize + 4; ++offset)
            for (bool receive : {true, false}) {
                const bool valid = JudgeFreqVaid(image, areas, mm::Address(offset), receive);
                ASSERT_EQ(valid, TextJudgeFreqVaid(image, areas, mm::Address(offset), receive))
                    << "offset " << offset << " receive " << receive;
                accepted += valid;
            }
    }
    EXPECT_GT(accepted, 10000); // the images reached inside the bands, not only outside
}

} // namespace
} // namespace nx5rb
