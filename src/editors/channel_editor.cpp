#include "editors/channel_editor.h"

#include "image/freq_codec.h"
#include "image/tone_codec.h"

#include <algorithm>
#include <array>
#include <utility>

namespace nx5rb {

namespace {

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

} // namespace

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
    // No channel yet: it is created by its receive frequency; the transmit side's lists likewise
    // wait for the transmit frequency.
    const ChannelColumnRow &clickedColumn = ChannelColumnOf(col);
    if (grid.Text(row, kColRxFreq).empty())
        col = kColRxFreq;
    else if (clickedColumn.side == ChannelSide::Transmit
             && clickedColumn.store != ChannelStore::Frequency
             && grid.Text(row, kColTxFreq).empty())
        col = kColTxFreq;
    cursor_.EditRow = std::int16_t(row);
    cursor_.EditCol = std::int16_t(col);
    editor.cell = {row, col};

    const ChannelColumnRow &column = ChannelColumnOf(col);
    editor.kind = column.editor;
    if (column.editor == EditorKind::Text) {
        editor.keyKind = column.keyKind;
        editor.text = grid.Text(row, col);
        return editor;
    }
    editor.items = ChannelColumnItems(column);
    const auto match = std::find(editor.items.begin(), editor.items.end(), grid.Text(row, col));
    editor.selected = match == editor.items.end() ? 0 : int(match - editor.items.begin());
    return editor;
}

EditorCommit ChannelGridEditor::Commit(const EditorInput &input)
{
    // Enter in Text4 commits without moving on; EnterPressed stays as it is.
    if (cursor_.EditRow == 0 || cursor_.EditCol == 0)
        return {input.text, std::nullopt, {}};
    if (ChannelColumnOf(cursor_.EditCol).store == ChannelStore::Frequency)
        return CommitFrequency(input.text);
    return CommitCombo(input);
}

EditorCommit ChannelGridEditor::CommitFrequency(const std::string &typed)
{
    using namespace channel_text;
    const int row = cursor_.EditRow;
    const int col = cursor_.EditCol;
    const ChannelColumnRow &edited = ChannelColumnOf(col);
    const bool receive = edited.side == ChannelSide::Receive;
    const mm::Address r = mm::ChannelRecord(row);
    TextGrid &grid = model_.Grid;
    RadioImage &image = doc_.Image;
    EditorCommit result;

    // Without its receive frequency the channel goes; without its transmit frequency the
    // transmit side does.
    if (typed.empty()) {
        if (receive)
            Erase(image, r, mm::kChannelRecordSize);
        for (const ChannelColumnRow &column : kChannelColumns) {
            if (!receive && column.side != ChannelSide::Transmit)
                continue;
            if (!receive && column.store != ChannelStore::Flag)
                Erase(image, r + column.offset, mm::Address(column.size));
            grid.SetText(row, column.col, "");
        }
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

    // A new channel, or a new transmit side, starts from its defaults: no tones, no transmit
    // frequency, the flags of a new channel. Old bytes of an unused record must not come back
    // with the next decode.
    const bool newChannel = receive && grid.Text(row, kColRxFreq).empty();
    if (newChannel) {
        image[r + mm::kChFlags] = kNewChannelFlags;
        image[r + mm::kChReserved] = 0x00;
    }
    const ConstChannelRecord record = ChannelAt(std::as_const(image), row);
    for (const ChannelColumnRow &column : kChannelColumns) {
        const bool starts = newChannel
            || (!receive && column.side == ChannelSide::Transmit
                && grid.Text(row, column.col).empty());
        if (&column == &edited || !starts)
            continue;
        if (column.store != ChannelStore::Flag)
            Erase(image, r + column.offset, mm::Address(column.size));
        if (column.store != ChannelStore::Frequency && ColumnShows(column, !receive))
            grid.SetText(row, column.col, column.shown(column, record));
    }
    std::copy_n(scratch.begin(), mm::kFreqFieldSize, image.begin() + r + edited.offset);
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
    const ChannelColumnRow &column = ChannelColumnOf(col);
    const std::vector<std::string> &items = ChannelColumnItems(column);
    EditorCommit result;
    // Left without a choice: the list may have opened on "无" for a tone it does not hold, and
    // that tone must survive.
    if (!input.item || *input.item < 0 || *input.item >= int(items.size())) {
        result.shownText = grid.Text(row, col);
        return result;
    }
    const int item = *input.item;
    switch (column.store) {
    case ChannelStore::Tone:
        QtToData(item, items[item], image, r + column.offset);
        break;
    case ChannelStore::Flag:
        ChannelAt(image, row).SetFlag(column.bits, item == column.setItem);
        break;
    case ChannelStore::Frequency:
        break;
    }
    grid.SetText(row, col, items[item]);
    result.shownText = items[item];
    return result;
}

} // namespace nx5rb
