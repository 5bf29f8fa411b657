#include "editors/channel_editor.h"

#include "image/freq_codec.h"
#include "image/tone_codec.h"

#include <algorithm>
#include <array>

namespace nx5rb {

namespace {

constexpr mm::Address kFreqFieldSize = 4;
constexpr mm::Address kToneFieldSize = 2;

void Erase(RadioImage &image, mm::Address from, mm::Address count)
{
    std::fill_n(image.begin() + from, count, mm::kErased);
}

std::int16_t Low(const FreqArea &area, bool receive)
{
    return receive ? area.RxLow : area.TxLow;
}

std::int16_t High(const FreqArea &area, bool receive)
{
    return receive ? area.RxHigh : area.TxHigh;
}

// Items of the switch lists; the item index is what the flag rules key on.
enum BandwidthItem { kItemNarrow = 0, kItemWide = 1 };
enum PowerItem { kItemHigh = 0, kItemLow = 1 };
enum ScanItem { kItemScanDelete = 0, kItemScanAdd = 1 };

std::uint8_t WithBit(std::uint8_t flags, std::uint8_t bit, bool set)
{
    return std::uint8_t(set ? flags | bit : flags & ~bit);
}

} // namespace

const std::vector<std::string> &ChannelComboItems(int col)
{
    using namespace channel_text;
    static const std::vector<std::string> tones(QtList().begin(), QtList().end());
    static const std::vector<std::string> bandwidth = {std::string(kNarrow), std::string(kWide)};
    static const std::vector<std::string> power = {std::string(kHigh), std::string(kLow)};
    static const std::vector<std::string> scan = {std::string(kScanDelete), std::string(kScanAdd)};
    static const std::vector<std::string> none;
    switch (col) {
    case kColRxTone:
    case kColTxTone:
        return tones;
    case kColBandwidth:
        return bandwidth;
    case kColPower:
        return power;
    case kColScan:
        return scan;
    default:
        return none;
    }
}

std::optional<int> FreqRangeCorrection(double mhz, const FreqAreaTable &areas, bool receive)
{
    std::array<int, mm::kBandCount> rank = {0, 1, 2};
    std::stable_sort(rank.begin(), rank.end(),
                     [&](int a, int b) { return Low(areas[a], receive) < Low(areas[b], receive); });
    const FreqArea &l1 = areas[rank[0]];
    const FreqArea &l2 = areas[rank[1]];
    const FreqArea &l3 = areas[rank[2]];
    if (mhz > High(l3, receive))
        return High(l3, receive);
    if (High(l2, receive) < mhz && mhz < Low(l3, receive))
        return High(l2, receive);
    if (High(l1, receive) < mhz && mhz < Low(l2, receive))
        return High(l1, receive);
    if (mhz < Low(l1, receive))
        return Low(l1, receive);
    return std::nullopt;
}

std::optional<std::string> SnapToRaster(std::string_view mhzText)
{
    const std::optional<double> mhz = ParseDecimal(mhzText);
    if (!mhz)
        return std::nullopt;
    const std::optional<double> kHz = FreqToStep(FormatDecimal(*mhz * 1000));
    if (!kHz)
        return std::nullopt;
    return FormatDecimal(*kHz / 1000);
}

EditorOpen ChannelGridEditor::Open(CellRef clicked)
{
    cursor_.EnterPressed = false;
    const TextGrid &grid = model_.Grid;
    int row = clicked.row == 0 ? 1 : clicked.row;
    int col = clicked.col == kColNumber ? kColRxFreq : clicked.col;
    EditorOpen editor;
    if (row < 1 || row > mm::kChannelCount || col < kColRxFreq || col >= kChannelCols) {
        cursor_.EditRow = 0;
        cursor_.EditCol = 0;
        editor.cell = clicked;
        return editor;
    }
    if (grid.Text(row, kColRxFreq).empty())
        col = kColRxFreq; // no channel yet: it is created by its receive frequency
    else if (col == kColTxTone && grid.Text(row, kColTxFreq).empty())
        col = kColTxFreq;
    cursor_.EditRow = std::int16_t(row);
    cursor_.EditCol = std::int16_t(col);
    editor.cell = {row, col};

    if (col == kColRxFreq || col == kColTxFreq) {
        editor.kind = EditorKind::Text;
        editor.keyKind = KeyKind::Frequency;
        editor.text = grid.Text(row, col);
        return editor;
    }
    editor.kind = EditorKind::Combo;
    editor.items = ChannelComboItems(col);
    const auto match = std::find(editor.items.begin(), editor.items.end(), grid.Text(row, col));
    editor.selected = match == editor.items.end() ? 0 : int(match - editor.items.begin());
    return editor;
}

EditorCommit ChannelGridEditor::Commit(const EditorInput &input)
{
    // Enter in Text4 commits without moving on; EnterPressed stays as it is.
    if (cursor_.EditRow == 0 || cursor_.EditCol == 0)
        return {input.text, std::nullopt, {}};
    if (cursor_.EditCol == kColRxFreq || cursor_.EditCol == kColTxFreq)
        return CommitFrequency(input.text);
    return CommitCombo(input);
}

EditorCommit ChannelGridEditor::CommitFrequency(const std::string &typed)
{
    using namespace channel_text;
    const int row = cursor_.EditRow;
    const int col = cursor_.EditCol;
    const bool receive = col == kColRxFreq;
    const mm::Address r = mm::ChannelRecord(row);
    TextGrid &grid = model_.Grid;
    RadioImage &image = doc_.Image;
    EditorCommit result;

    if (typed.empty()) {
        if (receive) {
            for (int c = kColTxFreq; c < kChannelCols; ++c)
                grid.SetText(row, c, "");
            Erase(image, r, mm::kChannelRecordSize);
        } else {
            grid.SetText(row, kColTxTone, "");
            Erase(image, r + mm::kChTxFreq, kFreqFieldSize);
            Erase(image, r + mm::kChTxTone, kToneFieldSize);
        }
        grid.SetText(row, col, "");
        return result;
    }

    const FreqAreaTable &areas = doc_.FreqAreas;
    std::string text = typed;
    const auto replaceBy = [&](int mhz) {
        result.messages.emplace_back(kOutOfRange);
        text = std::to_string(mhz) + ".00000";
    };
    if (text == ".")
        replaceBy(Low(areas[0], receive));
    const std::optional<double> value = ParseDecimal(text);
    // Only pasted text can fail to read as a number: the cell keeps what it showed.
    if (!value) {
        result.shownText = grid.Text(row, col);
        return result;
    }
    if (const std::optional<int> edge = FreqRangeCorrection(*value, areas, receive))
        replaceBy(*edge);

    // Encoded into a scratch field first, so a text no field can hold changes nothing.
    RadioImage scratch {};
    const std::optional<std::string> snapped = SnapToRaster(text);
    const std::optional<std::string> stored
        = snapped ? FreqToData(*snapped, scratch, 0) : std::nullopt;
    if (!stored) {
        result.shownText = grid.Text(row, col);
        return result;
    }

    if (receive && grid.Text(row, kColRxFreq).empty()) {
        grid.SetText(row, kColRxTone, kNoTone);
        grid.SetText(row, kColScan, kScanAdd);
        grid.SetText(row, kColPower, kHigh);
        grid.SetText(row, kColBandwidth, kWide);
        image[r + mm::kChFlags] = mm::kFlagScan;
        image[r + mm::kChReserved] = 0x00;
        // The new row shows no tones and no transmit frequency; old bytes of an unused record
        // must not come back with the next decode.
        Erase(image, r + mm::kChRxTone, kToneFieldSize);
        Erase(image, r + mm::kChTxFreq, kFreqFieldSize);
        Erase(image, r + mm::kChTxTone, kToneFieldSize);
    }
    if (!receive && grid.Text(row, kColTxTone).empty()) {
        grid.SetText(row, kColTxTone, kNoTone);
        Erase(image, r + mm::kChTxTone, kToneFieldSize);
    }
    const mm::Address field = r + (receive ? mm::kChRxFreq : mm::kChTxFreq);
    std::copy_n(scratch.begin(), kFreqFieldSize, image.begin() + field);
    grid.SetText(row, col, *stored);
    result.shownText = *stored;
    return result;
}

EditorCommit ChannelGridEditor::CommitCombo(const EditorInput &input)
{
    const int row = cursor_.EditRow;
    const int col = cursor_.EditCol;
    const mm::Address r = mm::ChannelRecord(row);
    TextGrid &grid = model_.Grid;
    RadioImage &image = doc_.Image;
    const std::vector<std::string> &items = ChannelComboItems(col);
    EditorCommit result;
    // Left without a choice: the list may have opened on "无" for a tone it does not hold, and
    // that tone must survive.
    if (!input.item || *input.item < 0 || *input.item >= int(items.size())) {
        result.shownText = grid.Text(row, col);
        return result;
    }
    const int item = *input.item;
    std::uint8_t &flags = image[r + mm::kChFlags];
    switch (col) {
    case kColRxTone:
        QtToData(item, items[item], image, r + mm::kChRxTone);
        break;
    case kColTxTone:
        QtToData(item, items[item], image, r + mm::kChTxTone);
        break;
    case kColBandwidth:
        flags = WithBit(flags, mm::kFlagNarrow, item == kItemNarrow);
        break;
    case kColPower:
        flags = WithBit(flags, mm::kFlagLowPower, item == kItemLow);
        break;
    case kColScan:
        flags = WithBit(flags, mm::kFlagScan, item == kItemScanAdd);
        break;
    default:
        break;
    }
    grid.SetText(row, col, items[item]);
    result.shownText = items[item];
    return result;
}

} // namespace nx5rb
