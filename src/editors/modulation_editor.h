// The boxes of a band's modulation and deviation settings (TextResponse) and of the maximum offset
// frequency all bands share (TextPkValue). The boxes are always on the page; an edit is checked and
// stored in the working copies when the box is left.
#pragma once

#include "editors/document.h"
#include "editors/editor_protocol.h"
#include "editors/modulation_view.h"

#include <optional>

namespace nx5rb {

// Index of the maximum offset box in a band's row of boxes; 0..5 are the six settings.
inline constexpr int kMaxOffsetBox = kMaxOffsetRow.cell.col;

// One band's row of boxes through the editor protocol: CellRef {0, k} is TextResponse(6 * band + k)
// for k = 0..5 and TextPkValue(band) for k = kMaxOffsetBox. A commit goes to the box opened last.
//
// A box opens with its text, the key kind of its field (digits only, four of them for the
// settings, three for the maximum offset) and its own length limit. Band A has no maximum offset
// box, nor has any band a box past it: those open nothing.
// TextResponse left: empty becomes "0", a number above the field's limit becomes the limit, text
// that is not a number shows the stored value again. The total deviation is stored high byte
// first. Enter moves to the next setting; the last one keeps the focus.
// TextPkValue left: as a setting, limit 255; Enter moves to the band's first setting. The value is
// shared, but only this band's box shows the new number until the next decode.
class ModulationEditor final : public PageEditor<ModulationBoxes>
{
public:
    using PageEditor::PageEditor;

    EditorOpen Open(CellRef clicked) override;
    EditorCommit Commit(const EditorInput &input) override;

private:
    std::optional<int> box_; // the box opened last
};

} // namespace nx5rb
