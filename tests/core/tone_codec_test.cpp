// Sub-tone fields and the list of 261 tone entries.
#include "image/freq_codec.h"
#include "image/tone_codec.h"
#include "support/image_bytes.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace nx5rb {
namespace {

using test::Bytes;
using test::Get;
using test::Put;

constexpr mm::Address kTone = mm::ChannelRecord(7) + mm::kChRxTone;

// The CTCSS tones and DCS codes the radio offers, written out here on their own so that a slip
// in the code's table shows up.
const std::vector<std::string> kCtcss
    = {"67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
       "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
       "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
       "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5",
       "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};
const std::vector<std::string> kDcs
    = {"023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065",
       "071", "072", "073", "074", "114", "115", "116", "122", "125", "131", "132", "134",
       "143", "145", "152", "155", "156", "162", "165", "172", "174", "205", "212", "223",
       "225", "226", "243", "244", "245", "246", "251", "252", "255", "261", "263", "265",
       "266", "271", "274", "306", "311", "315", "325", "331", "332", "343", "346", "351",
       "356", "364", "365", "371", "411", "412", "413", "423", "431", "432", "445", "446",
       "452", "454", "455", "462", "464", "465", "466", "503", "506", "516", "523", "526",
       "532", "546", "565", "606", "612", "624", "627", "631", "632", "645", "654", "662",
       "664", "703", "712", "723", "731", "732", "734", "743", "754"};

RadioImage ErasedImage()
{
    RadioImage image;
    EraseImage(image);
    return image;
}

TEST(QtList, NoToneThenCtcssThenDcsNormalThenInverted)
{
    const auto &list = QtList();
    ASSERT_EQ(kCtcss.size(), 50u);
    ASSERT_EQ(kDcs.size(), 105u);
    std::vector<std::string> expected = {"无"};
    expected.insert(expected.end(), kCtcss.begin(), kCtcss.end());
    for (const std::string &code : kDcs)
        expected.push_back(code + "N");
    for (const std::string &code : kDcs)
        expected.push_back(code + "I");
    ASSERT_EQ(expected.size(), list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(list[i], expected[i]) << "entry " << i;
    EXPECT_EQ(std::set<std::string>(list.begin(), list.end()).size(), list.size());
}

TEST(QtList, EveryEntryRoundTripsBothWays)
{
    const auto &list = QtList();
    for (int i = 0; i < kQtCount; ++i) {
        RadioImage image = ErasedImage();
        QtToData(i, list[i], image, kTone);
        const Bytes stored = Get(image, kTone, 2);
        const std::string text = DataToQt(image, kTone);
        EXPECT_EQ(text, list[i]) << "entry " << i;

        // The list box of a tone cell finds the entry by its text and writes it again.
        const int found = QtIndexOf(text);
        EXPECT_EQ(found, i);
        RadioImage again = ErasedImage();
        QtToData(found, text, again, kTone);
        EXPECT_EQ(Get(again, kTone, 2), stored) << "entry " << i;
    }
}

TEST(QtToData, StoresLowByteFirstAndTouchesOnlyItsTwoBytes)
{
    const struct
    {
        int index;
        Bytes stored;
    } cases[] = {
        {0, {0xFF, 0xFF}},   {1, {0x70, 0x06}},   {13, {0x00, 0x10}},
        {50, {0x41, 0x25}},  {51, {0x23, 0x80}},  {155, {0x54, 0x87}},
        {156, {0x23, 0xC0}}, {260, {0x54, 0xC7}}, {84, {0x05, 0x82}}, // 205N
        {236, {0x06, 0xC5}}, // 506I
    };
    for (const auto &c : cases) {
        RadioImage image;
        image.fill(0x5A);
        QtToData(c.index, QtList()[c.index], image, kTone);
        EXPECT_EQ(Get(image, kTone, 2), c.stored) << QtList()[c.index];
        EXPECT_EQ(image[kTone - 1], 0x5A);
        EXPECT_EQ(image[kTone + 2], 0x5A);
    }
}

TEST(DataToQt, FieldsAsTheGridShowsThem)
{
    const struct
    {
        Bytes field;
        const char *text;
    } cases[] = {
        {{0xFF, 0x06}, "无"},
        {{0x70, 0xFF}, "无"},
        {{0xFF, 0xFF}, "无"},
        {{0x70, 0x06}, "67.0"},
        {{0x41, 0x25}, "254.1"},
        {{0x00, 0x10}, "100.0"},
        {{0x23, 0x80}, "023N"},
        {{0x23, 0xC0}, "023I"},
        {{0x05, 0x82}, "205N"},
        {{0x06, 0xC5}, "506I"},
        {{0x23, 0x40}, ""},
        {{0x00, 0x7F}, ""},
        // Well formed but not in the list: shown as its text, the list box then offers "无".
        {{0x00, 0x06}, "60.0"},
    };
    for (const auto &c : cases) {
        RadioImage image = ErasedImage();
        Put(image, kTone, c.field);
        EXPECT_EQ(DataToQt(image, kTone), c.text);
    }
    EXPECT_EQ(QtIndexOf("60.0"), 0);
    EXPECT_EQ(QtIndexOf(""), 0);
}

// The value codec reads each list entry's field as the entry's value and writes the same bytes.
TEST(ToneField, EveryListEntryAsAValue)
{
    const auto &list = QtList();
    for (int i = 0; i < kQtCount; ++i) {
        Tone expected;
        if (i >= kQtFirstDcsNormal)
            expected = Tone::Dcs(std::stoi(list[i].substr(0, 3)), i >= kQtFirstDcsInverted);
        else if (i >= kQtFirstCtcss)
            expected = Tone::Ctcss(int(*ParseDecimal(list[i]) * 10 + 0.5));
        RadioImage image = ErasedImage();
        QtToData(i, list[i], image, kTone);
        const std::array<std::uint8_t, 2> field = {image[kTone], image[kTone + 1]};
        EXPECT_EQ(DecodeTone(field), expected) << list[i];
        std::array<std::uint8_t, 2> written = {0x5A, 0x5A};
        EXPECT_TRUE(EncodeTone(expected, written));
        EXPECT_EQ(written, field) << list[i];
    }
}

// Over every field: a value that is the number the grid shows, written back as the same bytes;
// nothing only where no list entry is stored as these bytes.
TEST(ToneField, EveryFieldAsTheGridShowsIt)
{
    RadioImage image = ErasedImage();
    for (int lo = 0; lo < 256; ++lo)
        for (int hi = 0; hi < 256; ++hi) {
            const std::array<std::uint8_t, 2> field = {std::uint8_t(lo), std::uint8_t(hi)};
            Put(image, kTone, {field[0], field[1]});
            const std::string text = DataToQt(image, kTone);
            const std::optional<Tone> tone = DecodeTone(field);
            // No value: the grid shows other text, or an entry whose bytes these are not (A7 02
            // shows as "210.7", its nibble A written as 10).
            if (!tone) {
                RadioImage entry = ErasedImage();
                QtToData(QtIndexOf(text), text, entry, kTone);
                ASSERT_TRUE(text != kNoTone && Get(entry, kTone, 2) != Get(image, kTone, 2))
                    << lo << ' ' << hi;
                continue;
            }
            if (tone->Kind() == ToneKind::None) {
                ASSERT_EQ(text, kNoTone) << lo << ' ' << hi;
                continue;
            }
            // "254.1" is 2541 tenths of CTCSS, "023N" code 23 sent normal.
            const char kind = tone->Kind() == ToneKind::Ctcss ? '.'
                : tone->Kind() == ToneKind::DcsNormal         ? 'N'
                                                              : 'I';
            ASSERT_EQ(kind == '.' ? text[text.size() - 2] : text.back(), kind) << text;
            std::string number = text;
            std::erase_if(number, [](char c) { return c < '0' || c > '9'; });
            ASSERT_EQ(std::stoi(number), tone->Value()) << text;
            std::array<std::uint8_t, 2> written {};
            ASSERT_TRUE(EncodeTone(*tone, written));
            ASSERT_EQ(written, field) << text;
        }
}

TEST(ToneField, RefusesValuesItCannotHold)
{
    using Field = std::array<std::uint8_t, 2>;
    const struct
    {
        Tone tone;
        std::optional<Field> field;
    } cases[] = {
        {Tone::Ctcss(3999), Field {0x99, 0x39}},
        {Tone::Ctcss(4000), std::nullopt}, // would set a DCS bit
        {Tone::Ctcss(-1), std::nullopt},
        {Tone::Dcs(3999, true), Field {0x99, 0xF9}},
        {Tone::Dcs(4000, false), std::nullopt},
    };
    for (const auto &c : cases) {
        std::array<std::uint8_t, 2> field = {0x5A, 0x5A};
        EXPECT_EQ(EncodeTone(c.tone, field), c.field.has_value()) << c.tone.Value();
        EXPECT_EQ(field, c.field.value_or(Field {0x5A, 0x5A}));
    }
}

// The last field of the image is read and written; one that would run past its end is neither,
// not even in part. Guard bytes after the image show a slip past it.
TEST(ToneCodec, LastFieldOfTheImageAndNothingPastIt)
{
    struct
    {
        RadioImage image;
        std::array<std::uint8_t, 4> guard;
    } memory {};
    const struct
    {
        mm::Address at;
        bool inside;
    } cases[] = {{mm::kImageSize - 2, true}, {mm::kImageSize - 1, false}, {mm::kImageSize, false}};
    for (const auto &c : cases) {
        memory.image.fill(0x5A);
        memory.guard.fill(0x5A);
        Put(memory.image, mm::kImageSize - 2, {0x70, 0x06}); // 67.0
        const Bytes before = Get(memory.image, mm::kImageSize - 2, 2);
        EXPECT_EQ(DataToQt(memory.image, c.at), c.inside ? "67.0" : "") << c.at;
        QtToData(kQtFirstDcsNormal, QtList()[kQtFirstDcsNormal], memory.image, c.at);
        EXPECT_EQ(Get(memory.image, mm::kImageSize - 2, 2), c.inside ? Bytes({0x23, 0x80}) : before)
            << c.at;
        EXPECT_EQ(memory.guard, (std::array<std::uint8_t, 4> {0x5A, 0x5A, 0x5A, 0x5A})) << c.at;
    }
}

} // namespace
} // namespace nx5rb
