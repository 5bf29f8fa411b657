#include "editors/field_table.h"

#include "editors/channel_view.h"
#include "editors/freq_area_view.h"
#include "editors/modulation_view.h"
#include "editors/power_on_view.h"
#include "editors/tune_table_view.h"
#include "image/records.h"

#include <algorithm>
#include <array>

namespace nx5rb {

namespace {

constexpr std::string_view kOtherPage = "其他";
constexpr std::string_view kPoint = " 点 ";
constexpr std::string_view kCharacter = " 字符";
constexpr std::string_view kCharacterNumber = " 第 ";
constexpr std::string_view kChannel = "信道 ";
constexpr std::string_view kByte = "字节 ";
constexpr std::string_view kWritten = "：写入 ";
constexpr std::string_view kReadBack = "，读回 ";
constexpr std::string_view kEmpty = "（空）";
constexpr std::string_view kGuardStart = "即将覆盖本机的校准数据（";
constexpr std::string_view kGuardBand = "项不同";
constexpr std::string_view kGuardEnd = "），确定写入？";
constexpr std::string_view kListSeparator = "，";
constexpr std::string_view kFullWidthColon = "：";

constexpr int kBlockCount = int(mm::kImageSize / mm::kBlockSize);

// The parts of the ids.
constexpr std::array<std::string_view, mm::kBandCount> kBandId = {"a", "b", "c"};

using BlockSet = std::array<bool, kBlockCount>;

std::string Join(std::initializer_list<std::string_view> parts)
{
    std::string text;
    for (std::string_view part : parts)
        text += part;
    return text;
}

// A caption up to the first of `stops` ("总频偏:    (0-1023)" -> "总频偏").
std::string_view CaptionBefore(std::string_view caption, std::string_view stops)
{
    return caption.substr(0, caption.find_first_of(stops));
}

std::string_view WithoutSuffix(std::string_view text, std::string_view suffix)
{
    if (text.ends_with(suffix))
        text.remove_suffix(suffix.size());
    return text;
}

std::string HexByte(std::uint8_t value)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string HexAddress(mm::Address address)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {'0', 'x', kDigits[(address >> 8) & 0x0F], kDigits[(address >> 4) & 0x0F],
            kDigits[address & 0x0F]};
}

// A band's own value is named after its band: "频段-A 接收频率 下限", "频段-A 灵敏度 点 3".
std::string BandValueName(int band, std::initializer_list<std::string_view> parts)
{
    std::string name = Join({freq_area_text::kBandName[band], " "});
    for (std::string_view part : parts)
        name += part;
    return name;
}

void AddFreqAreaFields(std::vector<Field> &table)
{
    for (int band = 0; band < mm::kBandCount; ++band)
        for (const ViewRow &row : kFreqAreaViewRows)
            if (row.PerBand())
                table.push_back(
                    {FieldPage::FreqArea, Join({kFreqAreaIdPart, ".", kBandId[band], ".", row.id}),
                     row.column.empty()
                         ? BandValueName(band, {row.caption})
                         : BandValueName(band, {row.caption, " ", CaptionBefore(row.column, "(")}),
                     row.Address(band, 0), row.size, 0xFF, &row, band});
    // The lists: one value all bands share ("area.bands"), or one per band ("area.a.work_channel").
    for (const ViewRow &row : kFreqAreaViewRows) {
        if (row.PerBand())
            continue;
        for (int i = 0; i < row.count; ++i)
            table.push_back(
                {FieldPage::FreqArea,
                 row.count == 1 ? Join({kFreqAreaIdPart, ".", row.id})
                                : Join({kFreqAreaIdPart, ".", kBandId[i], ".", row.id}),
                 std::string(row.valueCaptions.empty() ? row.caption : row.valueCaptions[i]),
                 row.Address(0, i), row.size, 0xFF, &row, 0, i});
    }
}

void AddTuneFields(std::vector<Field> &table, int band)
{
    const FieldPage page = FieldPage(int(FieldPage::TuneA) + band);
    for (const ViewRow &row : kTuneViewRows)
        for (int point = 0; point < row.count; ++point) {
            const std::string number = std::to_string(point + 1);
            table.push_back({page,
                             Join({kTuneIdPart, ".", kBandId[band], ".", row.id, ".", number}),
                             BandValueName(band, {row.caption, kPoint, number}),
                             row.Address(band, point), row.size, 0xFF, &row, band, point});
        }
    // Column by column, as the squelch grid's Enter walks it and the block stores it.
    for (int column = 0; column < kSquelchViewRows.front().count; ++column)
        for (const ViewRow &row : kSquelchViewRows)
            table.push_back(
                {page,
                 Join({kTuneIdPart, ".", kBandId[band], ".", kSquelchIdPart, ".",
                       std::to_string(column + 1), ".", row.id}),
                 BandValueName(
                     band, {tune_text::kSquelch, " ", row.valueCaptions[column], " ", row.caption}),
                 row.Address(band, column), row.size, 0xFF, &row, band, column});
}

void AddModulationFields(std::vector<Field> &table, int band)
{
    const FieldPage page = FieldPage(int(FieldPage::TuneA) + band);
    for (const ViewRow &row : kModulationViewRows) {
        if (row.PerBand()) {
            table.push_back({page, Join({kModulationIdPart, ".", kBandId[band], ".", row.id}),
                             BandValueName(band, {CaptionBefore(row.caption, ":")}),
                             row.Address(band, 0), row.size, 0xFF, &row, band});
            continue;
        }
        // Shared by all bands, listed on the page of the band whose block stores it and moved
        // with it.
        const mm::Address address = row.Address(band, 0);
        if (address / mm::kBlockSize == mm::kSettingsBlock[band] / mm::kBlockSize)
            table.push_back({page, Join({kModulationIdPart, ".", row.id}),
                             std::string(CaptionBefore(row.caption, "(")), address, row.size, 0xFF,
                             &row, band});
    }
}

void AddPowerOnFields(std::vector<Field> &table)
{
    for (const ViewRow &row : kPowerOnViewRows) {
        const std::string_view label = WithoutSuffix(row.caption, kFullWidthColon);
        for (int column = 0; column < row.count; ++column)
            table.push_back(
                {FieldPage::PowerOn,
                 Join({kPowerOnIdPart, ".", row.id, ".", std::to_string(column + 1)}),
                 Join({label, kCharacterNumber, std::to_string(column + 1), kCharacter}),
                 row.Address(0, column), row.size, 0xFF, &row, 0, column});
    }
}

void AddChannelFields(std::vector<Field> &table)
{
    for (int channel = 1; channel <= mm::kChannelCount; ++channel) {
        const std::string number = std::to_string(channel - 1);
        for (const ChannelColumnRow &column : kChannelColumns) {
            // "channel.rx_freq" names channel 12's field "channel.12.rx_freq".
            const std::size_t dot = column.id.find('.');
            table.push_back({FieldPage::Channels,
                             Join({column.id.substr(0, dot + 1), number, column.id.substr(dot)}),
                             Join({kChannel, number, " ", column.caption}),
                             mm::Address(mm::ChannelRecord(channel) + column.offset), column.size,
                             column.bits, nullptr, 0, 0, &column});
        }
    }
}

std::vector<Field> BuildTable()
{
    std::vector<Field> table;
    AddFreqAreaFields(table);
    for (int band = 0; band < mm::kBandCount; ++band) {
        AddTuneFields(table, band);
        AddModulationFields(table, band);
    }
    AddPowerOnFields(table);
    AddChannelFields(table);
    return table;
}

// Fields (table indexes) that show each byte; a channel's flag byte has three.
const std::vector<std::vector<int>> &FieldsAt()
{
    static const std::vector<std::vector<int>> at = [] {
        std::vector<std::vector<int>> fields(mm::kImageSize);
        const std::vector<Field> &table = FieldTable();
        for (int index = 0; index < int(table.size()); ++index)
            for (int i = 0; i < table[index].size; ++i)
                fields[table[index].address + i].push_back(index);
        return fields;
    }();
    return at;
}

bool IsChannelField(const Field &field)
{
    return field.page == FieldPage::Channels;
}

// Whether the bytes a field's text is made from are the same in both images: its own bytes, and
// for a channel its whole record and the band limits it is judged by.
bool SameSource(const Field &field, const RadioImage &a, const RadioImage &b, bool sameAreas)
{
    const bool channel = IsChannelField(field);
    if (channel && !sameAreas)
        return false;
    const mm::Address from = channel
        ? mm::Address(field.address - field.address % mm::kChannelRecordSize)
        : field.address;
    const int size = channel ? mm::kChannelRecordSize : field.size;
    return std::equal(a.begin() + from, a.begin() + from + size, b.begin() + from);
}

// Whether the bits a field's text depends on differ between the images, in its own bytes.
bool OwnBitsDiffer(const Field &field, const RadioImage &a, const RadioImage &b)
{
    for (int i = 0; i < field.size; ++i)
        if ((a[field.address + i] ^ b[field.address + i]) & field.bits)
            return true;
    return false;
}

// Differences of the fields inside `blocks`, then the runs of bytes no differing text explains.
// With `ownBytes` a field is named only when its own bytes differ, not when its text changes
// through other bytes (a channel judged by other band limits, a record that now exists).
std::vector<FieldDifference> Diff(const RadioImage &a, const RadioImage &b, const BlockSet &blocks,
                                  bool ownBytes = false)
{
    std::vector<FieldDifference> differences;
    std::array<std::uint8_t, mm::kImageSize> unexplained {};
    bool any = false;
    for (std::size_t i = 0; i < mm::kImageSize; ++i) {
        if (blocks[i / mm::kBlockSize])
            unexplained[i] = a[i] ^ b[i];
        any = any || unexplained[i];
    }
    // The texts of equal blocks may still differ through the band limits channels are judged by.
    const FreqAreaTable areasA = ImageFreqAreas(a);
    const FreqAreaTable areasB = ImageFreqAreas(b);
    const bool sameAreas = areasA == areasB;
    if (!any && (sameAreas || ownBytes))
        return differences;

    const std::vector<Field> &table = FieldTable();
    for (const Field &field : table) {
        if (!blocks[field.address / mm::kBlockSize] || SameSource(field, a, b, sameAreas)
            || (ownBytes && !OwnBitsDiffer(field, a, b)))
            continue;
        std::string textA = FieldText(field, a, areasA);
        std::string textB = FieldText(field, b, areasB);
        if (textA == textB)
            continue;
        for (int i = 0; i < field.size; ++i)
            unexplained[field.address + i] &= std::uint8_t(~field.bits);
        differences.push_back({field.page, field.id, field.name, field.address, field.size,
                               std::move(textA), std::move(textB)});
    }

    // A run stays inside one block and one owner: the field that shows the differing bits, or
    // else the channel record (0..127 as the grid numbers it) or stretch of unshown bytes.
    struct Owner
    {
        int field = -1;
        int channel = -1;
        bool operator==(const Owner &) const = default;
    };
    const auto owner = [&](std::size_t i) {
        for (int index : FieldsAt()[i])
            if (unexplained[i] & table[index].bits)
                return Owner {index, -1};
        if (i >= mm::kChannelTableStart && i < mm::kChannelTableEnd)
            return Owner {-1, int(i / mm::kChannelRecordSize) - 1};
        return Owner {};
    };
    for (std::size_t i = 0; i < mm::kImageSize;) {
        if (!unexplained[i]) {
            ++i;
            continue;
        }
        const Owner who = owner(i);
        std::size_t end = i + 1;
        while (end < mm::kImageSize && unexplained[end] && end % mm::kBlockSize != 0
               && owner(end) == who)
            ++end;
        std::string prefix;
        if (who.field >= 0)
            prefix = table[who.field].name + " ";
        else if (who.channel >= 0)
            prefix = Join({kChannel, std::to_string(who.channel), " "});
        std::string addresses = HexAddress(mm::Address(i));
        if (end - i > 1)
            addresses += "-" + HexAddress(mm::Address(end - 1));
        FieldDifference raw {FieldPage::Other,
                             "other." + addresses,
                             prefix + std::string(kByte) + addresses,
                             mm::Address(i),
                             int(end - i),
                             {},
                             {},
                             true};
        for (std::size_t k = i; k < end; ++k) {
            raw.a += HexByte(a[k]);
            raw.b += HexByte(b[k]);
        }
        differences.push_back(std::move(raw));
        i = end;
    }
    return differences;
}

} // namespace

std::string_view PageCaption(FieldPage page)
{
    switch (page) {
    case FieldPage::FreqArea:
        return freq_area_text::kFrame;
    case FieldPage::TuneA:
    case FieldPage::TuneB:
    case FieldPage::TuneC:
        return tune_text::kFrame[int(page) - int(FieldPage::TuneA)];
    case FieldPage::PowerOn:
        return power_on_text::kFrame;
    case FieldPage::Channels:
        return channel_text::kFrame;
    case FieldPage::Other:
        break;
    }
    return kOtherPage;
}

const std::vector<Field> &FieldTable()
{
    static const std::vector<Field> table = BuildTable();
    return table;
}

FreqAreaTable ImageFreqAreas(const RadioImage &image)
{
    return BandInfoOf(image).Areas();
}

std::string FieldText(const Field &field, const RadioImage &image)
{
    return FieldText(field, image, ImageFreqAreas(image));
}

std::string FieldText(const Field &field, const RadioImage &image, const FreqAreaTable &areas)
{
    if (field.column)
        return ChannelColumnText(*field.column,
                                 ChannelAt(image, field.address / mm::kChannelRecordSize), areas);
    return field.row->Text(image, field.band, field.index);
}

std::vector<FieldDifference> DiffImages(const RadioImage &a, const RadioImage &b)
{
    BlockSet all;
    all.fill(true);
    return Diff(a, b, all);
}

std::vector<FieldDifference> DiffStoredBytes(const RadioImage &a, const RadioImage &b)
{
    BlockSet all;
    all.fill(true);
    return Diff(a, b, all, true);
}

std::vector<FieldDifference> DiffBlocks(const RadioImage &a, const RadioImage &b,
                                        std::span<const mm::Address> blocks)
{
    BlockSet chosen {};
    for (mm::Address start : blocks)
        if (start < mm::kImageSize)
            chosen[start / mm::kBlockSize] = true;
    return Diff(a, b, chosen);
}

std::vector<std::string> VerifyReport(const RadioImage &written, const RadioImage &readBack,
                                      std::span<const mm::Address> blocks)
{
    const auto shown
        = [](const std::string &text) { return text.empty() ? std::string(kEmpty) : text; };
    std::vector<std::string> lines;
    for (const FieldDifference &difference : DiffBlocks(written, readBack, blocks))
        lines.push_back(
            Join({difference.name, kWritten, shown(difference.a), kReadBack, shown(difference.b)}));
    return lines;
}

int TuneDifferences(const RadioImage &radio, const RadioImage &image, int band)
{
    const mm::Address block = mm::kTuneBlock[band];
    int count = 0;
    for (mm::Address i = block; i < block + mm::kTuneBlockSize; ++i)
        count += radio[i] != image[i];
    return count;
}

std::string CalibrationOverwrites(const RadioImage &radio, const RadioImage &image,
                                  std::span<const int> bands)
{
    std::string list;
    for (int band : bands) {
        const int count = TuneDifferences(radio, image, band);
        if (count <= kCalibrationGuardLimit)
            continue;
        if (!list.empty())
            list += kListSeparator;
        list += Join({freq_area_text::kBandName[band], kFullWidthColon, std::to_string(count), " ",
                      kGuardBand});
    }
    return list;
}

std::optional<std::string> CalibrationQuestion(const RadioImage &radio, const RadioImage &image,
                                               std::span<const int> bands)
{
    const std::string list = CalibrationOverwrites(radio, image, bands);
    if (list.empty())
        return std::nullopt;
    return Join({kGuardStart, list, kGuardEnd});
}

} // namespace nx5rb
