#include "image/tone_codec.h"

#include "image/freq_codec.h"

#include <cstdlib>

namespace nx5rb {

namespace {

constexpr std::array<std::string_view, 50> kCtcss
    = {"67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
       "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
       "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
       "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5",
       "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};

constexpr std::array<std::string_view, 105> kDcs
    = {"023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065",
       "071", "072", "073", "074", "114", "115", "116", "122", "125", "131", "132", "134",
       "143", "145", "152", "155", "156", "162", "165", "172", "174", "205", "212", "223",
       "225", "226", "243", "244", "245", "246", "251", "252", "255", "261", "263", "265",
       "266", "271", "274", "306", "311", "315", "325", "331", "332", "343", "346", "351",
       "356", "364", "365", "371", "411", "412", "413", "423", "431", "432", "445", "446",
       "452", "454", "455", "462", "464", "465", "466", "503", "506", "516", "523", "526",
       "532", "546", "565", "606", "612", "624", "627", "631", "632", "645", "654", "662",
       "664", "703", "712", "723", "731", "732", "734", "743", "754"};

static_assert(1 + kCtcss.size() + 2 * kDcs.size() == kQtCount);

std::array<std::string, kQtCount> BuildQtList()
{
    std::array<std::string, kQtCount> list;
    int i = 0;
    list[i++] = std::string(kNoTone);
    for (std::string_view tone : kCtcss)
        list[i++] = std::string(tone);
    for (std::string_view code : kDcs)
        list[i++] = std::string(code) + 'N';
    for (std::string_view code : kDcs)
        list[i++] = std::string(code) + 'I';
    return list;
}

std::string TwoHexDigits(std::uint8_t value)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

} // namespace

const std::array<std::string, kQtCount> &QtList()
{
    static const std::array<std::string, kQtCount> list = BuildQtList();
    return list;
}

std::string DataToQt(const RadioImage &image, mm::Address offset)
{
    if (std::size_t(offset) + 2 > mm::kImageSize)
        return {};
    return ToneFieldText(std::span<const std::uint8_t, mm::kToneFieldSize>(image.data() + offset,
                                                                           mm::kToneFieldSize));
}

std::string ToneFieldText(std::span<const std::uint8_t, mm::kToneFieldSize> field)
{
    const std::uint8_t lo = field[0];
    const std::uint8_t hi = field[1];
    if (lo == 0xFF || hi == 0xFF)
        return std::string(kNoTone);
    switch (hi >> 6) {
    case 0b00:
        return HexText(hi & 0x3F) + std::to_string(lo >> 4) + "." + std::to_string(lo & 0x0F);
    case 0b10:
        return HexText(hi & 0x3F) + TwoHexDigits(lo) + "N";
    case 0b11:
        return HexText(hi & 0x3F) + TwoHexDigits(lo) + "I";
    default:
        return {};
    }
}

void QtToData(int index, std::string_view text, RadioImage &image, mm::Address offset)
{
    if (std::size_t(offset) + 2 > mm::kImageSize)
        return;
    std::uint8_t hi = 0xFF;
    std::uint8_t lo = 0xFF;
    if (index >= kQtFirstCtcss && index < kQtFirstDcsNormal) {
        const double hz = ParseDecimal(text).value_or(0);
        hi = std::uint8_t(NumToBCD2(std::int16_t(int(hz) / 10)));
        lo = std::uint8_t(NumToBCD2(std::int16_t(int(RoundHalfEven(hz * 10)) % 100)));
    } else if (index >= kQtFirstDcsNormal && index < kQtCount) {
        const int code = std::atoi(std::string(text.substr(0, text.size() - 1)).c_str());
        const int kind = index >= kQtFirstDcsInverted ? 0xC0 : 0x80;
        hi = std::uint8_t(NumToBCD2(std::int16_t(code / 100)) + kind);
        lo = std::uint8_t(NumToBCD2(std::int16_t(code % 100)));
    }
    image[offset] = lo;
    image[offset + 1] = hi;
}

namespace {

constexpr std::uint8_t kToneKindMask = 0xC0;
constexpr std::uint8_t kToneDigitsMask = 0x3F;
constexpr std::uint8_t kDcsNormalBits = 0x80;
constexpr std::uint8_t kDcsInvertedBits = 0xC0;
constexpr int kLargestValue = 3999; // four BCD digits that leave the two kind bits clear

std::optional<int> BcdByte(std::uint8_t byte)
{
    if ((byte >> 4) > 9 || (byte & 0x0F) > 9)
        return std::nullopt;
    return (byte >> 4) * 10 + (byte & 0x0F);
}

std::uint8_t ToBcdByte(int value)
{
    return std::uint8_t((value / 10) << 4 | value % 10);
}

} // namespace

std::optional<Tone> DecodeTone(std::span<const std::uint8_t, mm::kToneFieldSize> field)
{
    const std::uint8_t lo = field[0];
    const std::uint8_t hi = field[1];
    if (lo == mm::kErased || hi == mm::kErased)
        return Tone();
    const std::optional<int> hundreds = BcdByte(hi & kToneDigitsMask);
    const std::optional<int> rest = BcdByte(lo);
    if (!hundreds || !rest)
        return std::nullopt;
    const int value = *hundreds * 100 + *rest;
    switch (hi & kToneKindMask) {
    case 0:
        return Tone::Ctcss(value);
    case kDcsNormalBits:
        return Tone::Dcs(value, false);
    case kDcsInvertedBits:
        return Tone::Dcs(value, true);
    default:
        return std::nullopt;
    }
}

bool EncodeTone(Tone tone, std::span<std::uint8_t, mm::kToneFieldSize> field)
{
    std::uint8_t kindBits = 0;
    switch (tone.Kind()) {
    case ToneKind::None:
        field[0] = field[1] = mm::kErased;
        return true;
    case ToneKind::Ctcss:
        break;
    case ToneKind::DcsNormal:
        kindBits = kDcsNormalBits;
        break;
    case ToneKind::DcsInverted:
        kindBits = kDcsInvertedBits;
        break;
    }
    if (tone.Value() < 0 || tone.Value() > kLargestValue)
        return false;
    field[0] = ToBcdByte(tone.Value() % 100);
    field[1] = std::uint8_t(ToBcdByte(tone.Value() / 100) | kindBits);
    return true;
}

int QtIndexOf(std::string_view text)
{
    const auto &list = QtList();
    for (int i = 0; i < kQtCount; ++i)
        if (list[i] == text)
            return i;
    return 0;
}

} // namespace nx5rb
