#include "editors/power_on_editor.h"

namespace nx5rb {

namespace {

constexpr char kSpace = ' ';

} // namespace

EditorOpen PowerOnEditor::Open(CellRef clicked)
{
    cursor_.EnterPressed = false;
    EditorOpen editor;
    editor.cell = clicked;
    const ViewRow *row = RowAt(kPowerOnViewRows, clicked).row;
    if (!row) {
        box_ = -1;
        return editor;
    }
    box_ = clicked.col;
    editor.kind = row->editor.kind;
    editor.text = model_.Boxes[box_];
    editor.maxLength = row->editor.maxLength;
    return editor;
}

KeyDecision PowerOnEditor::Key(const EditorOpen &, BoxState box, KeyCode key)
{
    const MessageKey decision = PowerOnMsgKey(box, key);
    if (decision.dataChanged)
        doc_.DataChanged = true;
    return {decision.key, decision.commit};
}

EditorCommit PowerOnEditor::Commit(const EditorInput &input)
{
    EditorCommit result;
    if (box_ < 0) {
        result.shownText = input.text;
        return result;
    }
    const char c = input.text.empty() ? kSpace : input.text.front();
    if (MessagePrintable(std::uint8_t(c))) {
        if (doc_.PowerOnMsg[box_] != std::uint8_t(c)) {
            doc_.PowerOnMsg[box_] = std::uint8_t(c);
            // A pasted character arrives without a key; it is still an edit to apply.
            doc_.DataChanged = true;
        }
        model_.Boxes[box_] = input.text.substr(0, input.text.empty() ? 0 : 1);
    }
    result.shownText = model_.Boxes[box_];
    cursor_.EnterPressed = input.enter;
    if (input.enter)
        result.next = CellRef {0, (box_ + 1) % kPowerOnBoxes};
    return result;
}

} // namespace nx5rb
