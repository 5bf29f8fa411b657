// The 56 boxes of the power-on message (TextPowerOnMsg0..55), one character each. A typed
// character goes into the working copy and the cursor moves on to the next box with its character
// selected, so that typing runs along the lines; from the last box it wraps to the first.
#pragma once

#include "editors/document.h"
#include "editors/editor_protocol.h"
#include "editors/power_on_view.h"

namespace nx5rb {

// Boxes are addressed as CellRef {0, i}, i = 14 * line + column.
class PowerOnEditor final : public PageEditor<PowerOnBoxes>
{
public:
    using PageEditor::PageEditor;

    // TextPowerOnMsg_Click: a text box holding the box's character (the binder selects it all).
    EditorOpen Open(CellRef clicked) override;
    // TextPowerOnMsg_KeyPress: printable ASCII, Enter and Backspace; one character per box. Every
    // accepted key sets DataChanged; a printable key or Enter commits with Enter.
    KeyDecision Key(const EditorOpen &editor, BoxState box, KeyCode key) override;
    // TextPowerOnMsg_LostFocus: the box's first character (a space when empty) into the working
    // copy; with Enter the next box (55 wraps to 0). A pasted character outside printable ASCII is
    // refused and the box keeps its character.
    EditorCommit Commit(const EditorInput &input) override;

private:
    int box_ = -1; // the open box
};

} // namespace nx5rb
