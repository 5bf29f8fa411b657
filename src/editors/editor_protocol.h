// How every grid and every box of the pages is edited. A click opens an editor on a cell (a text
// box or a list, or nothing); keys typed into a text box pass a filter; a commit takes what the
// user left in the editor and says what the cell shows now, where Enter moves on to, and whether a
// message is due. Every grid and row of boxes of the window runs this protocol; the rules behind it
// are plain functions of the parts of the state they need.
#pragma once

#include "editors/document.h"
#include "editors/input_filter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nx5rb {

// Editor state shared by every grid and box: one cell under edit at a time.
struct EditorCursor
{
    std::int16_t EditRow = 0;
    std::int16_t EditCol = 0;
    // Enter committed the editor; the commit moves on to the next cell or box.
    bool EnterPressed = false;
};

// A cell of a grid, or a box of a row of boxes (row 0, col = the box's index).
struct CellRef
{
    int row = 0;
    int col = 0;

    bool operator==(const CellRef &) const = default;
};

enum class EditorKind {
    None, // the cell opens no editor
    Text, // a text box over the cell
    Combo, // a drop-down list over the cell
};

// What a click opens, on which cell (it may differ from the clicked one: fixed cells move to 1,
// an empty channel row opens its receive frequency).
struct EditorOpen
{
    EditorKind kind = EditorKind::None;
    CellRef cell;
    std::string text; // the text box's text
    std::vector<std::string> items; // the list's items
    int selected = 0; // the list's selected item
    KeyKind keyKind = KeyKind::Number3; // the key filter of a text box
    int maxLength = 0; // a length limit of the box itself, 0 for none
};

// What a key typed into an open text box becomes.
struct KeyDecision
{
    KeyCode key = kKeyNone; // the key as it reaches the box; kKeyNone swallows it
    // After the key is placed, the editor commits with Enter pressed (Enter itself, or a key that
    // moves on by itself).
    bool commit = false;
};

// What the user left in the editor.
struct EditorInput
{
    std::string text; // the text box's text
    // The list item the user chose; nothing when the list was left without a choice.
    std::optional<int> item;
    bool enter = false; // committed by Enter (or a key that moves on), not by leaving the editor
};

struct EditorCommit
{
    std::string shownText; // what the editor and its cell show now
    // Where the editor opens next; nothing closes it. The same cell keeps the editor there.
    std::optional<CellRef> next;
    // Messages for the user ("频率超出范围！"), in the order the rules gave them, each shown with
    // the title "错误" and the exclamation icon before the cell shows the commit and before the
    // editor moves on.
    std::vector<std::string> messages;
};

// The rules of one grid or one row of boxes.
class CellEditor
{
public:
    virtual ~CellEditor() = default;

    // A click on (row, col).
    virtual EditorOpen Open(CellRef clicked) = 0;
    // A key typed into the open text box, given the box's text and selection. By default the
    // shared key filter of the editor's key kind; Enter commits.
    virtual KeyDecision Key(const EditorOpen &editor, BoxState box, KeyCode key)
    {
        const KeyCode filtered = FilterKey(box, key, editor.keyKind, editor.maxLength);
        return {filtered, filtered == kKeyEnter};
    }
    // The editor is left (by Enter, by a key that moves on, by losing the focus or by a scroll).
    virtual EditorCommit Commit(const EditorInput &input) = 0;
};

// The rules of one grid or row of boxes of a page: they work on the document, the editor cursor
// and the page's model; `band` for the pages there is one of per band.
template<typename Model>
class PageEditor : public CellEditor
{
public:
    PageEditor(Document &doc, EditorCursor &cursor, Model &model, int band = 0)
        : doc_(doc)
        , cursor_(cursor)
        , model_(model)
        , band_(band)
    { }

protected:
    Document &doc_;
    EditorCursor &cursor_;
    Model &model_;
    int band_;
};

} // namespace nx5rb
