// The field table against the pages: one changed byte names one field with both its texts, bytes
// no page shows are still reported, a write is checked block by block, and the calibration guard
// counts a band's tune bytes.
#include "app/window_state.h"
#include "editors/field_table.h"
#include "editors/modulation_editor.h"
#include "editors/power_on_editor.h"
#include "editors/tune_editor.h"
#include "support/image_bytes.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace nx5rb {
namespace {

using test::Put;

// Channel 12 of the grid (record 13) and channel 5 (record 6), the latter at 180 MHz: outside
// every band of the start-up limits.
constexpr mm::Address kCh12 = mm::ChannelRecord(13);
constexpr mm::Address kCh5 = mm::ChannelRecord(6);
constexpr mm::Address kCh99 = mm::ChannelRecord(100);

RadioImage BaseImage()
{
    RadioImage image;
    EraseImage(image);
    WriteFreqAreaDefaults(image);
    WriteTuneDefaults(image);
    WritePowerOnDefaults(image);
    // 145.125 MHz both ways, 67.0 Hz / DCS 023N, wide, high power, scanned.
    Put(image, kCh12,
        {0x14, 0x51, 0x25, 0x00, 0x14, 0x51, 0x25, 0x00, 0x70, 0x06, 0x23, 0x80, 0x04, 0x00});
    Put(image, kCh5,
        {0x18, 0x00, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x70, 0x06, 0xFF, 0xFF, 0x04, 0x00});
    return image;
}

struct Shown
{
    std::string page;
    std::string name;
    std::string a;
    std::string b;
    bool operator==(const Shown &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Shown &shown)
{
    return out << shown.page << " / " << shown.name << ": " << shown.a << " -> " << shown.b;
}

std::vector<Shown> Differences(const RadioImage &a, const RadioImage &b)
{
    std::vector<Shown> shown;
    for (const FieldDifference &d : DiffImages(a, b))
        shown.push_back({std::string(PageCaption(d.page)), d.name, d.a, d.b});
    return shown;
}

TEST(DiffImages, OneChangedByteNamesOneFieldWithBothTexts)
{
    const mm::Address tuneA = mm::kTuneBlock[0];
    const mm::Address tuneB = mm::kTuneBlock[1];
    const mm::Address tuneC = mm::kTuneBlock[2];
    const mm::Address setC = mm::kSettingsBlock[2];
    const struct
    {
        mm::Address address;
        std::uint8_t value;
        Shown expected;
    } cases[] = {
        {mm::kFreqAreaRecord[0] + 2, 0x16, {"频段设置", "频段-A 接收频率 上限", "175", "165"}},
        {mm::kFreqAreaRecord[2] + 8, 0x21, {"频段设置", "频段-C 调谐频率(调试)", "200", "210"}},
        {mm::kWorkBandsCode,
         0x6A,
         {"频段设置", "工作频段", "频段-A + 频段-B + 频段-C", "频段-A + 频段-B"}},
        {mm::kWorkChannel + 1, 0xFF, {"频段设置", "频段B工作通道", "UHF", "VHF"}},
        {tuneA + 2, 40, {"频段-A 灵敏度/功率", "频段-A 灵敏度 点 3", "18", "40"}},
        {tuneC + 31, 131, {"频段-C 灵敏度/功率", "频段-C 低功率 点 16", "130", "131"}},
        {tuneB + 59, 60, {"频段-B 灵敏度/功率", "频段-B 静噪 检测2(窄) 低阀值", "59", "60"}},
        {setC + 4, 44, {"频段-C 灵敏度/功率", "频段-C 总频偏", "43", "44"}},
        // A total deviation with its top bit set is not shown.
        {setC + 3, 0x80, {"频段-C 灵敏度/功率", "频段-C 总频偏", "43", ""}},
        {mm::kMaxOffset, 51, {"频段-B 灵敏度/功率", "最大偏移频率", "50", "51"}},
        {mm::kPowerOnMsg + mm::kPowerOnLineStride + 4, 'X', {"MCU版本", "P1 第 5 字符", "1", "X"}},
        {kCh12 + 1, 0x52, {"信道设置", "信道 12 接收频率", "145.12500", "145.22500"}},
        {kCh12 + 6, 0x50, {"信道设置", "信道 12 发射频率", "145.12500", "145.15000"}},
        {kCh12 + 9, 0x10, {"信道设置", "信道 12 接收亚音", "67.0", "107.0"}},
        {kCh12 + 10, 0x25, {"信道设置", "信道 12 发射亚音", "023N", "025N"}},
        {kCh12 + 12, 0x24, {"信道设置", "信道 12 宽窄带", "宽", "窄"}},
        {kCh12 + 12, 0x14, {"信道设置", "信道 12 发射功率", "高", "低"}},
        {kCh12 + 12, 0x00, {"信道设置", "信道 12 扫描添加/删除", "添加", "删除"}},
        // Bytes no page shows, and bytes a page hides.
        {kCh12 + 12, 0x84, {"其他", "信道 12 字节 0x0DC", "04", "84"}},
        {kCh12 + 13, 0x01, {"其他", "信道 12 字节 0x0DD", "00", "01"}},
        {kCh99 + 8, 0x12, {"其他", "信道 99 接收亚音 字节 0x648", "FF", "12"}},
        {mm::kWorkBandsCode, 0x52, {"其他", "工作频段 字节 0xD0A", "FF", "52"}},
        {mm::kChannelTableEnd + 0x100, 0x01, {"其他", "字节 0x910", "FF", "01"}},
    };
    const RadioImage a = BaseImage();
    for (const auto &c : cases) {
        RadioImage b = a;
        b[c.address] = c.value;
        EXPECT_EQ(Differences(a, b), std::vector<Shown> {c.expected}) << c.expected;
    }
}

TEST(DiffImages, ChannelsAreJudgedByEachImagesOwnLimits)
{
    // Band A's receive range grows to 180 MHz in b: channel 5 appears there with its receive side
    // only, as its 180 MHz transmit frequency is still outside every transmit range.
    const RadioImage a = BaseImage();
    RadioImage b = a;
    Put(b, mm::kFreqAreaRecord[0] + 2, {0x18, 0x00});
    EXPECT_EQ(Differences(a, b),
              (std::vector<Shown> {
                  {"频段设置", "频段-A 接收频率 上限", "175", "180"},
                  {"信道设置", "信道 5 接收频率", "", "180.00000"},
                  {"信道设置", "信道 5 接收亚音", "", "67.0"},
                  {"信道设置", "信道 5 宽窄带", "", "宽"},
                  {"信道设置", "信道 5 发射功率", "", "高"},
                  {"信道设置", "信道 5 扫描添加/删除", "", "添加"},
              }));

    // A transmit frequency that leaves every band takes its tone off the grid with it.
    RadioImage c = a;
    c[kCh12 + 4] = 0xF4;
    EXPECT_EQ(Differences(a, c),
              (std::vector<Shown> {
                  {"信道设置", "信道 12 发射频率", "145.12500", ""},
                  {"信道设置", "信道 12 发射亚音", "023N", ""},
              }));
}

TEST(DiffImages, BitsNoDifferingTextExplainsAreRawRuns)
{
    const RadioImage a = BaseImage();
    // Garbage in a channel that exists in neither image: one run per field it would show in.
    RadioImage b = a;
    Put(b, kCh99, {0x99, 0x99, 0x99, 0x99, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x02, 0xFF, 0xFF, 0x00});
    EXPECT_EQ(Differences(a, b),
              (std::vector<Shown> {
                  {"其他", "信道 99 接收频率 字节 0x640-0x643", "FFFFFFFF", "99999999"},
                  {"其他", "信道 99 接收亚音 字节 0x648-0x649", "FFFF", "0102"},
                  {"其他", "信道 99 宽窄带 字节 0x64C", "FF", "00"},
              }));
    // A flag byte whose bandwidth changed together with a bit no column shows.
    RadioImage c = a;
    c[kCh12 + mm::kChFlags] = 0xA4;
    EXPECT_EQ(Differences(a, c),
              (std::vector<Shown> {
                  {"信道设置", "信道 12 宽窄带", "宽", "窄"},
                  {"其他", "信道 12 字节 0x0DC", "04", "A4"},
              }));
    // Unshown runs stop at a block's end.
    RadioImage d = a;
    for (mm::Address i = mm::kBandStartEnd; i < mm::kBandStartEnd + 20; ++i)
        d[i] = 0;
    EXPECT_EQ(Differences(a, d),
              (std::vector<Shown> {
                  {"其他", "字节 0x830-0x83F", std::string(32, 'F'), std::string(32, '0')},
                  {"其他", "字节 0x840-0x843", "FFFFFFFF", "00000000"},
              }));
}

// The table's texts are the pages' own: images decoded by the pages show what FieldText says.
TEST(FieldText, MatchesWhatThePagesShow)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> digit(0, 9);
    std::vector<RadioImage> images = {BaseImage()};
    RadioImage noise;
    for (std::uint8_t &b : noise)
        b = std::uint8_t(byte(random));
    images.push_back(noise);
    // Channels of BCD frequencies 100..599 MHz, some inside a band, with random tones and flags.
    RadioImage channels = BaseImage();
    for (int channel = 1; channel <= mm::kChannelCount; ++channel) {
        const mm::Address r = mm::ChannelRecord(channel);
        for (mm::Address side : {mm::kChRxFreq, mm::kChTxFreq}) {
            channels[r + side] = std::uint8_t(0x10 * (1 + digit(random) % 5) + digit(random));
            for (int i = 1; i < 4; ++i)
                channels[r + side + i] = std::uint8_t(0x10 * digit(random) + digit(random));
        }
        for (int i = mm::kChRxTone; i <= mm::kChFlags; ++i)
            channels[r + i] = std::uint8_t(byte(random));
    }
    images.push_back(channels);

    for (const RadioImage &image : images) {
        WindowState state;
        state.Image = image;
        state.SetEdgesStale();
        state.AnalyseAll();
        std::vector<std::string> shown;
        for (const TextGrid &grid : state.FreqAreaView.Grids)
            for (auto [row, col] : {std::pair {1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 1}})
                shown.push_back(grid.Text(row, col));
        shown.emplace_back(
            freq_area_text::kBandCombinations[state.FreqAreaView.BandCombinationItem]);
        for (int item : state.FreqAreaView.ChannelItem)
            shown.emplace_back(freq_area_text::kChannelItems[item]);
        for (int band = 0; band < mm::kBandCount; ++band) {
            const auto &page = state.TuneViews[band];
            for (int row = 1; row < kTuneRows; ++row)
                for (int col = 1; col < kTuneCols; ++col)
                    shown.push_back(page.Tune.Text(row, col));
            for (int col = 1; col < kSquelchCols; ++col)
                for (int row = 1; row < kSquelchRows; ++row)
                    shown.push_back(page.Squelch.Text(row, col));
            for (const std::string &box : state.ModulationViews[band].Response)
                shown.push_back(box);
            if (band == 1)
                shown.push_back(state.ModulationViews[band].MaxOffset);
        }
        for (const std::string &box : state.PowerOnView.Boxes)
            shown.push_back(box);
        for (int row = 1; row < kChannelRows; ++row)
            for (int col = kColRxFreq; col < kChannelCols; ++col)
                shown.push_back(state.ChannelView.Grid.Text(row, col));

        const std::vector<Field> &table = FieldTable();
        ASSERT_EQ(table.size(), shown.size());
        for (std::size_t i = 0; i < table.size(); ++i)
            EXPECT_EQ(FieldText(table[i], image), shown[i]) << table[i].name;
    }
}

// Scripts key on a field's id: no two fields share one, and each is plain lower-case ASCII.
TEST(FieldTable, EveryFieldHasItsOwnAsciiId)
{
    std::set<std::string> ids;
    for (const Field &field : FieldTable()) {
        EXPECT_TRUE(ids.insert(field.id).second) << field.id << " " << field.name;
        EXPECT_FALSE(field.id.empty()) << field.name;
        EXPECT_TRUE(std::all_of(field.id.begin(), field.id.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
        })) << field.id;
    }
}

// The seam of the views' tables: a value committed through its page's editor (or list) and
// applied lands in the bytes its row names, the field table names that one field for it with the
// text the page showed, and the page reads the same text back from the image.
TEST(ViewRows, ACommitLandsInTheRowsBytesAndTheDiffNamesItsField)
{
    using MakeEditor = std::function<std::unique_ptr<CellEditor>(WindowState &, int)>;
    const struct
    {
        std::span<const ViewRow> rows;
        MakeEditor editor;
    } views[] = {
        {kFreqAreaViewRows,
         [](WindowState &s, int band) {
             return std::make_unique<FreqAreaEditor>(s, s, s.FreqAreaView, band);
         }},
        {kTuneViewRows,
         [](WindowState &s, int band) {
             return std::make_unique<TuneGridEditor>(s, s, s.TuneViews[band], band);
         }},
        {kSquelchViewRows,
         [](WindowState &s, int band) {
             return std::make_unique<SquelchGridEditor>(s, s, s.TuneViews[band], band);
         }},
        {kModulationViewRows,
         [](WindowState &s, int band) {
             return std::make_unique<ModulationEditor>(s, s, s.ModulationViews[band], band);
         }},
        {kPowerOnViewRows,
         [](WindowState &s, int) { return std::make_unique<PowerOnEditor>(s, s, s.PowerOnView); }},
    };
    WindowState start;
    start.Apply();

    for (const auto &view : views)
        for (const ViewRow &row : view.rows) {
            int committed = 0;
            for (int band = 0; band < mm::kBandCount; ++band)
                for (int index = 0; index < row.count; ++index) {
                    SCOPED_TRACE(testing::Message()
                                 << row.id << " band " << band << " value " << index);
                    WindowState s = start;
                    const std::string before = row.Text(s.Image, band, index);
                    std::string shown;
                    if (row.editor.kind == EditorKind::Combo) {
                        if (index != (row.count == 1 ? 0 : band))
                            continue; // a list's value i is band i's
                        const int item = row.editor.items[0] == before ? 1 : 0;
                        if (&row == &kBandsRow)
                            ComboSelFreqArea_Click(s, s.FreqAreaView, item);
                        else
                            ComboChannelSel_Click(s, s.FreqAreaView, band, item);
                        shown = std::string(row.editor.items[std::size_t(item)]);
                    } else {
                        const std::unique_ptr<CellEditor> editor = view.editor(s, band);
                        const EditorOpen open = editor->Open(row.Cell(index));
                        if (open.kind == EditorKind::None)
                            continue; // a shaded point, band A's missing maximum offset box
                        ASSERT_EQ(open.cell, row.Cell(index));
                        EXPECT_EQ(open.text, before);
                        std::string typed = row.codec == FieldCodec::MessageChar
                            ? "Z"
                            : std::to_string(row.editor.max[band]);
                        if (typed == before)
                            typed = row.codec == FieldCodec::MessageChar
                                ? "Y"
                                : std::to_string(row.editor.max[band] - 1);
                        shown = editor->Commit({typed, std::nullopt, false}).shownText;
                        EXPECT_EQ(shown, typed);
                    }
                    s.Apply();
                    s.AnalyseAll();
                    ++committed;

                    EXPECT_EQ(row.Text(s.Image, band, index), shown);
                    std::vector<FieldDifference> named;
                    for (const FieldDifference &d : DiffStoredBytes(start.Image, s.Image))
                        if (!d.raw)
                            named.push_back(d);
                    ASSERT_EQ(named.size(), 1u);
                    EXPECT_EQ(named[0].address, row.Address(band, index));
                    EXPECT_EQ(named[0].size, row.size);
                    EXPECT_EQ(named[0].a, before);
                    EXPECT_EQ(named[0].b, shown);
                    EXPECT_NE(named[0].id.find("." + std::string(row.id)), std::string::npos)
                        << named[0].id;
                }
            EXPECT_GT(committed, 0) << row.id;
        }
}

TEST(VerifyReport, ListsTheFieldsOfTheWrittenBlocksThatCameBackDifferent)
{
    const mm::Address tuneA = mm::kTuneBlock[0];
    RadioImage written = BaseImage();
    written[tuneA + 2] = 40;
    const struct
    {
        std::vector<std::pair<mm::Address, std::uint8_t>> readBack;
        std::vector<mm::Address> blocks;
        std::vector<std::string> expected;
    } cases[] = {
        {{}, {tuneA, tuneA + 16}, {}},
        {{{tuneA + 2, 38}, {mm::kFreqAreaRecord[0] + 2, 0x16}},
         {tuneA, tuneA + 16, tuneA + 32, tuneA + 48},
         {"频段-A 灵敏度 点 3：写入 40，读回 38"}},
        // A block that was not written is not checked.
        {{{tuneA + 2, 38}}, {tuneA + 16}, {}},
        {{{kCh12 + 4, 0xFF}, {kCh12 + 13, 0x01}},
         {kCh12},
         {"信道 12 发射频率：写入 145.12500，读回 （空）",
          "信道 12 发射亚音：写入 023N，读回 （空）", "信道 12 字节 0x0DD：写入 00，读回 01"}},
    };
    for (const auto &c : cases) {
        RadioImage readBack = written;
        for (auto [address, value] : c.readBack)
            readBack[address] = value;
        EXPECT_EQ(VerifyReport(written, readBack, c.blocks), c.expected);
    }
}

TEST(CalibrationGuard, CountsEachBandsTuneBytesAndAsksAboveSixteen)
{
    const struct
    {
        std::array<int, mm::kBandCount> changed; // tune bytes changed per band
        std::vector<int> written; // bands being written
        std::optional<std::string> question;
    } cases[] = {
        {{16, 0, 0}, {0}, std::nullopt},
        {{17, 0, 0}, {0}, "即将覆盖本机的校准数据（频段-A：17 项不同），确定写入？"},
        {{64, 0, 0}, {1}, std::nullopt},
        {{37, 17, 20},
         {0, 2},
         "即将覆盖本机的校准数据（频段-A：37 项不同，频段-C：20 项不同），确定写入？"},
        {{37, 16, 20},
         {0, 1, 2},
         "即将覆盖本机的校准数据（频段-A：37 项不同，频段-C：20 项不同），确定写入？"},
    };
    const RadioImage radio = BaseImage();
    for (const auto &c : cases) {
        RadioImage image = radio;
        for (int band = 0; band < mm::kBandCount; ++band)
            for (int i = 0; i < c.changed[band]; ++i)
                image[mm::kTuneBlock[band] + i] ^= 0x01;
        // The settings blocks beside the tune blocks are no calibration.
        image[mm::kSettingsBlock[0]] ^= 0x01;
        for (int band = 0; band < mm::kBandCount; ++band)
            EXPECT_EQ(TuneDifferences(radio, image, band), c.changed[band]);
        EXPECT_EQ(CalibrationQuestion(radio, image, c.written), c.question);
    }
}

} // namespace
} // namespace nx5rb
