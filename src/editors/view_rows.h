// The row type of the views' tables. Each page that is not the channel grid lists its values in
// one table of these: a grid row of values, a box, or a list. A row says once what every part of
// the program needs to know about it: its stable id, the caption the page shows, where its bytes
// live and in which codec, how the page reads its text from the image, how its editor opens and
// what a commit keeps, and the key the JSON dump prints it under. The decoders, the editors, the
// field table behind diff, verify and the calibration guard, and the dump all read the tables.
#pragma once

#include "editors/editor_protocol.h"
#include "editors/field_table.h"
#include "image/radio_image.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace nx5rb {

// How a row's cells or boxes are edited: a text box with its key filter, or a list.
struct RowEditor
{
    EditorKind kind = EditorKind::None;
    KeyKind keyKind = KeyKind::Number3; // the key filter of a text box
    int maxLength = 0; // a length limit of the box itself, 0 for the key kind's own
    // The values a commit keeps, per band: a number outside is held to the nearer end.
    std::array<int, mm::kBandCount> min {};
    std::array<int, mm::kBandCount> max {};
    std::span<const std::string_view> items {}; // a list's items, in the order it shows them
};

// The same number for every band.
constexpr std::array<int, mm::kBandCount> EveryBand(int value)
{
    return {value, value, value};
}

struct ViewRow
{
    // The row's part of its fields' ids ("rx_low", "sensitivity", "total_deviation", "p0"):
    // ASCII, stable from version to version.
    std::string_view id {};
    std::string_view caption {}; // what the page shows beside the row (its grid row, label or list)
    // The grid column over a single cell ("下限(MHz)"), empty elsewhere.
    std::string_view column {};
    // One caption per value where the page shows one ("检测1(宽)", "频段A工作通道").
    std::span<const std::string_view> valueCaptions {};
    // The cell or box of value 0; value i is `i` columns (boxes) on.
    CellRef cell {};
    // Where the values live: value i at base + offset + i · stride, each `size` bytes in `codec`.
    // The base is the band's block for a row every band has (bandBase), 0 for a row that all
    // bands share.
    const std::array<mm::Address, mm::kBandCount> *bandBase = nullptr;
    mm::Address offset = 0;
    int count = 1;
    int stride = 1;
    int size = 1;
    FieldCodec codec = FieldCodec::Byte;
    // Which value of its record the row is, for the record's accessors: the limit word of a band's
    // area, the modulation setting, the message line.
    int slot = 0;
    // The text the page shows for value `index` of band `band`, read through the typed records.
    std::string (*text)(const ViewRow &row, const RadioImage &image, int band, int index) = nullptr;
    RowEditor editor {};
    // The key the JSON dump prints the row under (for a row of values, the array's key).
    std::string_view dumpKey {};

    constexpr bool PerBand() const { return bandBase != nullptr; }
    // Value `index` inside the band's block (for a shared row, the image address).
    constexpr mm::Address Offset(int index) const { return mm::Address(offset + index * stride); }
    constexpr mm::Address Address(int band, int index) const
    {
        return mm::Address((bandBase ? (*bandBase)[std::size_t(band)] : 0) + Offset(index));
    }
    constexpr CellRef Cell(int index) const { return {cell.row, cell.col + index}; }
    std::string Text(const RadioImage &image, int band, int index) const
    {
        return text(*this, image, band, index);
    }
};

// The text row of `rows` that shows `cell`, with the index of the value there; nothing when none
// does (a list has no cell).
struct RowValue
{
    const ViewRow *row = nullptr;
    int index = 0;
};
inline RowValue RowAt(std::span<const ViewRow> rows, CellRef cell)
{
    for (const ViewRow &row : rows)
        if (row.editor.kind == EditorKind::Text && cell.row == row.cell.row
            && cell.col >= row.cell.col && cell.col < row.cell.col + row.count)
            return {&row, cell.col - row.cell.col};
    return {};
}

} // namespace nx5rb
