#include "editors/modulation_editor.h"

#include "editors/typed_number.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace nx5rb {

namespace {

// Length limit of each setting's own box; the key kind's four digits hold where this is 0.
constexpr std::array<int, kModulationFields> kResponseBoxLength = {2, 3, 2, 0, 0, 0};
// Record byte of each setting; the total deviation takes this byte and the next.
constexpr std::array<int, kModulationFields> kResponseByte = {0, 1, 2, 3, 5, 6};
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
    if (box >= 0 && box < kModulationFields) {
        editor.kind = EditorKind::Text;
        editor.text = boxes.Response[box];
        editor.keyKind = KeyKind::Number4;
        editor.maxLength = kResponseBoxLength[box];
    } else if (box == kMaxOffsetBox && band > 0) {
        editor.kind = EditorKind::Text;
        editor.text = boxes.MaxOffset;
        editor.keyKind = KeyKind::Number3;
    }
    return editor;
}

EditorCommit ResponseCommit(Document &doc, EditorCursor &cursor, ModulationBoxes &boxes, int band,
                            int field, std::string_view boxText)
{
    std::uint8_t *record = doc.ModulationRecords.data() + band * mm::kSettingsBlockSize;
    std::uint8_t *first = record + kResponseByte[field];
    const bool wide = field == kTotalDeviationField;

    EditorCommit result;
    if (const std::optional<int> value = CommittedValue(boxText, kModulationMax[field])) {
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

EditorCommit MaxOffsetCommit(Document &doc, EditorCursor &cursor, ModulationBoxes &boxes,
                             std::string_view boxText)
{
    EditorCommit result;
    if (const std::optional<int> value = CommittedValue(boxText, kMaxOffsetMax)) {
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
        return MaxOffsetCommit(doc_, cursor_, model_, input.text);
    return ResponseCommit(doc_, cursor_, model_, band_, *box_, input.text);
}

} // namespace nx5rb
