// The columns of the channel grid after 信道号, in one table: the id scripts key on, the caption,
// dump's key, where the value lives in the record, how the cell's text is read from the record,
// how the cell is edited and its commit stored, and how both CSV layouts carry it. The grid's
// decoder and editor, the field table behind diff, verify and the guard, the channel plans and
// dump all read their columns from here; a new column is a record accessor and a row.
#pragma once

#include "editors/editor_protocol.h"
#include "editors/input_filter.h"
#include "image/records.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nx5rb {

namespace channel_text {
inline constexpr std::string_view kNumber = "信道号";
inline constexpr std::string_view kNarrow = "窄";
inline constexpr std::string_view kWide = "宽";
inline constexpr std::string_view kLow = "低";
inline constexpr std::string_view kHigh = "高";
inline constexpr std::string_view kScanAdd = "添加";
inline constexpr std::string_view kScanDelete = "删除";
} // namespace channel_text

inline constexpr int kChannelCols = 8;
enum ChannelColumn {
    kColNumber = 0,
    kColRxFreq = 1,
    kColTxFreq = 2,
    kColRxTone = 3,
    kColTxTone = 4,
    kColBandwidth = 5,
    kColPower = 6,
    kColScan = 7,
};

// The frequency that must lie inside a band's limits for a cell to show anything: the receive
// frequency (the channel exists) for every cell, the transmit frequency as well for the cells of
// the transmit side.
enum class ChannelSide : std::uint8_t { Receive, Transmit };

// How a committed cell is stored.
enum class ChannelStore : std::uint8_t {
    Frequency, // ChannelGridEditor::CommitFrequency: band edges, the raster, a new channel's
               // defaults
    Tone, // the chosen entry of the tone list through the tone codec, at the row's offset
    Flag, // the row's bits, set by one item of the list and cleared by the other
};

// How the common CSV layout carries a column.
enum class CommonRule : std::uint8_t {
    Frequencies, // with the other frequency: Frequency, Duplex and Offset (the plan's own code)
    Tones, // with the other tone: Tone, rToneFreq, cToneFreq, DtcsCode, ... (the plan's own code)
    Texts, // one column; each of its texts means the bits set or clear
    PowerLevel, // one column; "Low", "L" (any case) or the lowest of several wattages sets the bits
};

struct CommonText
{
    std::string_view text;
    bool set = false;
};

struct CommonMapping
{
    CommonRule rule = CommonRule::Texts;
    std::string_view column; // Texts and PowerLevel
    std::string_view absent; // what an empty or missing cell reads as (Texts)
    // The texts read (Texts), in order; an export writes the first of each meaning.
    std::array<CommonText, 3> texts {};
    int textCount = 0;
};

// A column the common layout carries together with another (Frequencies, Tones).
constexpr CommonMapping CarriedWith(CommonRule rule)
{
    CommonMapping mapping;
    mapping.rule = rule;
    return mapping;
}

struct ChannelColumnRow;
using ChannelShownText = std::string (*)(const ChannelColumnRow &row, ConstChannelRecord record);

struct ChannelColumnRow
{
    ChannelColumn col = kColNumber; // the grid column
    std::string_view id; // "channel.rx_freq"; channel 12's field is "channel.12.rx_freq"
    std::string_view caption; // the grid's header, and our CSV layout's
    std::string_view dumpKey; // the key of dump's channel objects
    mm::Address offset = 0; // in the record
    int size = 1; // bytes
    std::uint8_t bits = 0xFF; // of each byte, the ones the text depends on
    ChannelSide side = ChannelSide::Receive;
    // The cell's text for a record whose side exists.
    ChannelShownText shown = nullptr;
    EditorKind editor = EditorKind::None;
    KeyKind keyKind = KeyKind::Frequency; // of a text editor
    ChannelStore store = ChannelStore::Flag;
    // A Flag column's list, in order, and the item that sets the bits; our CSV layout reads and
    // writes the same two texts.
    std::array<std::string_view, 2> items {};
    int setItem = 0;
    CommonMapping common;
};

// The shown texts, one reader per kind of field.
std::string ReceiveFrequencyText(const ChannelColumnRow &row, ConstChannelRecord record);
std::string TransmitFrequencyText(const ChannelColumnRow &row, ConstChannelRecord record);
std::string ReceiveToneText(const ChannelColumnRow &row, ConstChannelRecord record);
std::string TransmitToneText(const ChannelColumnRow &row, ConstChannelRecord record);
std::string FlagText(const ChannelColumnRow &row, ConstChannelRecord record);

// Grid columns 1..7 in order.
inline constexpr std::array<ChannelColumnRow, kChannelCols - 1> kChannelColumns = {{
    {.col = kColRxFreq,
     .id = "channel.rx_freq",
     .caption = "接收频率",
     .dumpKey = "rx",
     .offset = mm::kChRxFreq,
     .size = mm::kFreqFieldSize,
     .side = ChannelSide::Receive,
     .shown = &ReceiveFrequencyText,
     .editor = EditorKind::Text,
     .keyKind = KeyKind::Frequency,
     .store = ChannelStore::Frequency,
     .common = CarriedWith(CommonRule::Frequencies)},
    {.col = kColTxFreq,
     .id = "channel.tx_freq",
     .caption = "发射频率",
     .dumpKey = "tx",
     .offset = mm::kChTxFreq,
     .size = mm::kFreqFieldSize,
     .side = ChannelSide::Transmit,
     .shown = &TransmitFrequencyText,
     .editor = EditorKind::Text,
     .keyKind = KeyKind::Frequency,
     .store = ChannelStore::Frequency,
     .common = CarriedWith(CommonRule::Frequencies)},
    {.col = kColRxTone,
     .id = "channel.rx_tone",
     .caption = "接收亚音",
     .dumpKey = "rx_tone",
     .offset = mm::kChRxTone,
     .size = mm::kToneFieldSize,
     .side = ChannelSide::Receive,
     .shown = &ReceiveToneText,
     .editor = EditorKind::Combo,
     .store = ChannelStore::Tone,
     .common = CarriedWith(CommonRule::Tones)},
    {.col = kColTxTone,
     .id = "channel.tx_tone",
     .caption = "发射亚音",
     .dumpKey = "tx_tone",
     .offset = mm::kChTxTone,
     .size = mm::kToneFieldSize,
     .side = ChannelSide::Transmit,
     .shown = &TransmitToneText,
     .editor = EditorKind::Combo,
     .store = ChannelStore::Tone,
     .common = CarriedWith(CommonRule::Tones)},
    {.col = kColBandwidth,
     .id = "channel.bandwidth",
     .caption = "宽窄带",
     .dumpKey = "bandwidth",
     .offset = mm::kChFlags,
     .bits = mm::kFlagNarrow,
     .shown = &FlagText,
     .editor = EditorKind::Combo,
     .store = ChannelStore::Flag,
     .items = {channel_text::kNarrow, channel_text::kWide},
     .setItem = 0,
     .common = {.rule = CommonRule::Texts,
                .column = "Mode",
                .absent = "FM",
                .texts = {{{"FM", false}, {"NFM", true}}},
                .textCount = 2}},
    {.col = kColPower,
     .id = "channel.power",
     .caption = "发射功率",
     .dumpKey = "power",
     .offset = mm::kChFlags,
     .bits = mm::kFlagLowPower,
     .shown = &FlagText,
     .editor = EditorKind::Combo,
     .store = ChannelStore::Flag,
     .items = {channel_text::kHigh, channel_text::kLow},
     .setItem = 1,
     .common = {.rule = CommonRule::PowerLevel,
                .column = "Power",
                .absent = {},
                .texts = {{{"High", false}, {"Low", true}}},
                .textCount = 2}},
    {.col = kColScan,
     .id = "channel.scan",
     .caption = "扫描添加/删除",
     .dumpKey = "scan",
     .offset = mm::kChFlags,
     .bits = mm::kFlagScan,
     .shown = &FlagText,
     .editor = EditorKind::Combo,
     .store = ChannelStore::Flag,
     .items = {channel_text::kScanDelete, channel_text::kScanAdd},
     .setItem = 1,
     .common = {.rule = CommonRule::Texts,
                .column = "Skip",
                .absent = {},
                .texts = {{{"", true}, {"S", false}, {"P", true}}},
                .textCount = 3}},
}};

// The flags of a channel the grid or an import creates: wide, high power, in the scan list.
inline constexpr std::uint8_t kNewChannelFlags = mm::kFlagScan;

// The row of grid column 1..7.
inline const ChannelColumnRow &ChannelColumnOf(int col)
{
    assert(col > kColNumber && col < kChannelCols);
    return kChannelColumns[std::size_t(col - 1)];
}

// A Flag column's text for the bits set or clear.
constexpr std::string_view FlagItem(const ChannelColumnRow &row, bool set)
{
    return row.items[std::size_t(set ? row.setItem : 1 - row.setItem)];
}

// The list over a column: the tone list for a tone, a Flag column's two items; empty otherwise.
const std::vector<std::string> &ChannelColumnItems(const ChannelColumnRow &row);

// Whether the column shows anything on a channel that exists, given whether its transmit side
// does.
constexpr bool ColumnShows(const ChannelColumnRow &row, bool transmitExists)
{
    return row.side == ChannelSide::Receive || transmitExists;
}

// The cell's text as the grid shows it, judged by `areas`: nothing for a channel that does not
// exist, nor on the transmit side of one whose transmit frequency does not.
std::string ChannelColumnText(const ChannelColumnRow &row, ConstChannelRecord record,
                              const FreqAreaTable &areas);

// A Texts mapping's meaning of a cell (after `absent` stands in for an empty one); nothing for a
// text it does not list.
std::optional<bool> CommonTextMeaning(const CommonMapping &mapping, std::string_view text);
// What an export writes for the bits set or clear.
std::string_view CommonTextFor(const CommonMapping &mapping, bool set);
// The texts a Texts mapping accepts, for a refusal: "FM or NFM", "\"\", S or P".
std::string CommonTextList(const CommonMapping &mapping);

} // namespace nx5rb
