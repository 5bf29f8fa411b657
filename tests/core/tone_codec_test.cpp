// Sub-tone fields and the list of 261 tone entries.
#include "image/tone_codec.h"
#include "support/image_bytes.h"

#include <gtest/gtest.h>
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

} // namespace
} // namespace nx5rb
