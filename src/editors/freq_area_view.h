// The frequency-area page: receive, transmit and tuning limits of each band in three small grids,
// the band combination the radio works in, and the VHF/UHF working channel of each band.
#pragma once

#include "editors/document.h"
#include "editors/editor_protocol.h"
#include "editors/text_grid.h"
#include "editors/view_rows.h"
#include "image/radio_image.h"

#include <array>
#include <string>
#include <string_view>

namespace nx5rb {

namespace freq_area_text {
inline constexpr std::string_view kFrame = "频段设置";
inline constexpr std::array<std::string_view, mm::kBandCount> kGridTitle
    = {"频段-A(130-175)", "频段-B(400-520)", "频段-C(200-260)"};
inline constexpr std::string_view kLow = "下限(MHz)";
inline constexpr std::string_view kHigh = "上限(MHz)";
inline constexpr std::array<std::string_view, 4> kRowCaption
    = {"接收频率", "发射频率", "调谐频率(调试)", "发射频率(调试)"};
inline constexpr std::string_view kNotEditable = "-";
inline constexpr std::string_view kBandsLabel = "工作频段";
inline constexpr std::array<std::string_view, 7> kBandCombinations = {"频段-A",
                                                                      "频段-B",
                                                                      "频段-C",
                                                                      "频段-A + 频段-B",
                                                                      "频段-A + 频段-C",
                                                                      "频段-B + 频段-C",
                                                                      "频段-A + 频段-B + 频段-C"};
inline constexpr std::array<std::string_view, mm::kBandCount> kChannelLabel
    = {"频段A工作通道", "频段B工作通道", "频段C工作通道"};
inline constexpr std::array<std::string_view, 2> kChannelItems = {"VHF", "UHF"};
inline constexpr std::string_view kHint = "(请在频段-A中输入相对较低频段,频段-B中输入相对较高频段)";
// Field names for the accessible names of the edit boxes, "频段-A 接收频率 下限".
inline constexpr std::array<std::string_view, mm::kBandCount> kBandName
    = {"频段-A", "频段-B", "频段-C"};
inline constexpr std::string_view kLowName = "下限";
inline constexpr std::string_view kHighName = "上限";
} // namespace freq_area_text

inline constexpr int kFreqAreaRows = 5;
inline constexpr int kFreqAreaCols = 3;

// The texts of the rows below: a band-limit word, the band-combination item, the working channel.
std::string FreqAreaLimitText(const ViewRow &row, const RadioImage &image, int band, int index);
std::string BandCombinationText(const ViewRow &row, const RadioImage &image, int band, int index);
std::string WorkChannelText(const ViewRow &row, const RadioImage &image, int band, int index);

// Every cell of a band's grid opens this box, the debug cell (4, 1) too; a commit holds the
// number to the band's own limits (MHz).
inline constexpr RowEditor kFreqAreaCellEditor
    = {EditorKind::Text, KeyKind::Number3, 0, {130, 400, 200}, {175, 520, 260}, {}};

// The frequency-area page's ids start with this.
inline constexpr std::string_view kFreqAreaIdPart = "area";

// The page's values. The first five are the cells of each band's grid over its own record, one
// word each in record order (the slot): committed by FreqAreaCommit into the working copy
// FreqAreas, which EncodeFreqAreas stores. Then the band-combination list all bands share
// (ComboSelFreqArea_Click) and the working-channel list of each band, value i for band i
// (ComboChannelSel_Click).
inline constexpr std::array<ViewRow, 7> kFreqAreaViewRows = {{
    {.id = "rx_low",
     .caption = freq_area_text::kRowCaption[0],
     .column = freq_area_text::kLow,
     .cell = {1, 1},
     .bandBase = &mm::kFreqAreaRecord,
     .offset = 0,
     .size = 2,
     .codec = FieldCodec::BandLimit,
     .slot = 0,
     .text = FreqAreaLimitText,
     .editor = kFreqAreaCellEditor,
     .dumpKey = "rx_low"},
    {.id = "rx_high",
     .caption = freq_area_text::kRowCaption[0],
     .column = freq_area_text::kHigh,
     .cell = {1, 2},
     .bandBase = &mm::kFreqAreaRecord,
     .offset = 2,
     .size = 2,
     .codec = FieldCodec::BandLimit,
     .slot = 1,
     .text = FreqAreaLimitText,
     .editor = kFreqAreaCellEditor,
     .dumpKey = "rx_high"},
    {.id = "tx_low",
     .caption = freq_area_text::kRowCaption[1],
     .column = freq_area_text::kLow,
     .cell = {2, 1},
     .bandBase = &mm::kFreqAreaRecord,
     .offset = 4,
     .size = 2,
     .codec = FieldCodec::BandLimit,
     .slot = 2,
     .text = FreqAreaLimitText,
     .editor = kFreqAreaCellEditor,
     .dumpKey = "tx_low"},
    {.id = "tx_high",
     .caption = freq_area_text::kRowCaption[1],
     .column = freq_area_text::kHigh,
     .cell = {2, 2},
     .bandBase = &mm::kFreqAreaRecord,
     .offset = 6,
     .size = 2,
     .codec = FieldCodec::BandLimit,
     .slot = 3,
     .text = FreqAreaLimitText,
     .editor = kFreqAreaCellEditor,
     .dumpKey = "tx_high"},
    {.id = "tune",
     .caption = freq_area_text::kRowCaption[2],
     .cell = {3, 1},
     .bandBase = &mm::kFreqAreaRecord,
     .offset = mm::kFreqAreaTuneFreq,
     .size = 2,
     .codec = FieldCodec::BandLimit,
     .slot = 4,
     .text = FreqAreaLimitText,
     .editor = kFreqAreaCellEditor,
     .dumpKey = "tune"},
    {.id = "bands",
     .caption = freq_area_text::kBandsLabel,
     .offset = mm::kWorkBandsCode,
     .codec = FieldCodec::BandCombination,
     .text = BandCombinationText,
     .editor = {.kind = EditorKind::Combo, .items = freq_area_text::kBandCombinations},
     .dumpKey = "work_bands_code"},
    {.id = "work_channel",
     .valueCaptions = freq_area_text::kChannelLabel,
     .offset = mm::kWorkChannel,
     .count = mm::kBandCount,
     .codec = FieldCodec::WorkChannel,
     .text = WorkChannelText,
     .editor = {.kind = EditorKind::Combo, .items = freq_area_text::kChannelItems},
     .dumpKey = "work_channels"},
}};
inline constexpr const ViewRow &kBandsRow = kFreqAreaViewRows[5];
inline constexpr const ViewRow &kWorkChannelRow = kFreqAreaViewRows[6];

// What the page shows: the three grids and the selected items of the lists.
struct FreqAreaCells
{
    FreqAreaCells();

    std::array<TextGrid, mm::kBandCount> Grids;
    int BandCombinationItem = 2; // selected item of the band-combination list
    std::array<int, mm::kBandCount> ChannelItem {}; // 0 VHF, 1 UHF
};

// Item of the band-combination list that a code selects (6 for any code not in the list).
int BandCombinationItem(std::uint8_t code);

// Image -> grids, FreqAreas, WorkBandsCode, WorkChannel and the lists.
void AnalyseFreqArea(Document &doc, FreqAreaCells &cells);
// Working copies -> image, filling the band-start records after bands A and B.
void EncodeFreqAreas(Document &doc);
// Bands A and B only: a record with any nibble above 9 is replaced by safe defaults (with the
// two bytes after it).
void RepairFreqArea(RadioImage &image, int band);

// The editor of the three grids (Text1, Text2, Text6).
EditorOpen FreqAreaGridClick(EditorCursor &cursor, const FreqAreaCells &cells, int band, int row,
                             int col);
EditorCommit FreqAreaCommit(Document &doc, EditorCursor &cursor, FreqAreaCells &cells, int band,
                            std::string_view boxText);
// A list choice by the user. A decode fills the lists without one: the window calls these on a
// list's activation, which only the user makes.
void ComboSelFreqArea_Click(Document &doc, FreqAreaCells &cells, int item);
void ComboChannelSel_Click(Document &doc, FreqAreaCells &cells, int band, int item);

// The grid of one band through the editor protocol.
class FreqAreaEditor final : public PageEditor<FreqAreaCells>
{
public:
    using PageEditor::PageEditor;

    EditorOpen Open(CellRef clicked) override;
    EditorCommit Commit(const EditorInput &input) override;
};

} // namespace nx5rb
