#include "editors/modulation_editor.h"

#include "editors/typed_number.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace nx5rb {

namespace {

constexpr int kLastField = kModulationFields - 1;
// A total deviation with its top bit set is shown as no number at all.
constexpr std::uint8_t kDeviationHiddenFrom = 0x80;

// The number a commit stores: an empty box stands for 0, a number above the limit for the limit.
// Nothing when the text is no number.
std::optional<int> CommittedValue(std::string_view boxText, int limit)
{
    if (boxText.empty())
        return 0;
    if (const std::optional<int> typed = TypedNumber(boxText))
        return std::min(*typed, limit);
    return std::nullopt;
}

// What the box shows after a commit of `value`: the text as typed when the value kept it.
std::string ShownText(std::string_view boxText, int value)
{
    return TypedNumber(boxText) == value ? std::string(boxText) : std::to_string(value);
}

EditorOpen ModulationBoxOpen(const ModulationBoxes &boxes, int band, int box)
{
    EditorOpen editor;
    editor.cell = {0, box};
    const ViewRow *row = RowAt(kModulationViewRows, editor.cell).row;
    if (!row || (box == kMaxOffsetBox && band == 0))
        return editor;
    editor.kind = row->editor.kind;
    editor.text = box == kMaxOffsetBox ? boxes.MaxOffset : boxes.Response[box];
    editor.keyKind = row->editor.keyKind;
    editor.maxLength = row->editor.maxLength;
    return editor;
}

EditorCommit ResponseCommit(Document &doc, EditorCursor &cursor, ModulationBoxes &boxes, int band,
                            int field, std::string_view boxText)
{
    const ViewRow &row = kModulationViewRows[field];
    std::uint8_t *record = doc.ModulationRecords.data() + band * mm::kSettingsBlockSize;
    std::uint8_t *first = record + row.Offset(0);
    const bool wide = row.size == 2; // high byte first

    EditorCommit result;
    if (const std::optional<int> value = CommittedValue(boxText, row.editor.max[band])) {
        result.shownText = ShownText(boxText, *value);
        const std::uint8_t high = wide ? std::uint8_t(*value >> 8) : 0;
        const std::uint8_t low = std::uint8_t(*value & 0xFF);
        if (wide && (first[0] != high || first[1] != low)) {
            first[0] = high;
            first[1] = low;
            doc.DataChanged = true;
        } else if (!wide && first[0] != low) {
            first[0] = low;
            doc.DataChanged = true;
        }
    } else if (wide && first[0] >= kDeviationHiddenFrom) {
        result.shownText = boxes.Response[field]; // the stored value has no text of its own
    } else {
        result.shownText = std::to_string(wide ? 256 * first[0] + first[1] : first[0]);
    }
    boxes.Response[field] = result.shownText;

    if (cursor.EnterPressed) {
        cursor.EnterPressed = false;
        result.next = CellRef {0, field == kLastField ? kLastField : field + 1};
    }
    return result;
}

EditorCommit MaxOffsetCommit(Document &doc, EditorCursor &cursor, ModulationBoxes &boxes, int band,
                             std::string_view boxText)
{
    EditorCommit result;
    if (const std::optional<int> value = CommittedValue(boxText, kMaxOffsetRow.editor.max[band])) {
        result.shownText = ShownText(boxText, *value);
        if (doc.MaxOffset != *value) {
            doc.MaxOffset = std::uint8_t(*value);
            doc.DataChanged = true;
        }
    } else {
        result.shownText = std::to_string(doc.MaxOffset);
    }
    boxes.MaxOffset = result.shownText;

    if (cursor.EnterPressed) {
        cursor.EnterPressed = false;
        result.next = CellRef {0, 0};
    }
    return result;
}

} // namespace

EditorOpen ModulationEditor::Open(CellRef clicked)
{
    EditorOpen editor = ModulationBoxOpen(model_, band_, clicked.col);
    box_ = editor.kind == EditorKind::None ? std::nullopt : std::optional<int>(clicked.col);
    return editor;
}

EditorCommit ModulationEditor::Commit(const EditorInput &input)
{
    if (!box_)
        return {input.text, std::nullopt, {}};
    if (input.enter)
        cursor_.EnterPressed = true;
    if (*box_ == kMaxOffsetBox)
        return MaxOffsetCommit(doc_, cursor_, model_, band_, input.text);
    return ResponseCommit(doc_, cursor_, model_, band_, *box_, input.text);
}

} // namespace nx5rb
