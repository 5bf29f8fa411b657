// What an editor rule tells the page: where a floating editor opens, and what a commit did.
#pragma once

#include <string>

namespace nx5rb {

// A click on a grid cell: the editor opens on (row, col) with `text`, or not at all. The row and
// column may differ from the clicked ones (fixed cells move to 1; an empty channel row opens its
// receive frequency).
struct EditorOpen
{
    bool open = false;
    int row = 0;
    int col = 0;
    std::string text;
};

// A commit of a floating editor: the text the box and its cell now show, and whether Enter moves
// the editor on to (nextRow, nextCol) or closes it.
struct EditorCommit
{
    std::string boxText;
    bool advance = false;
    int nextRow = 0;
    int nextCol = 0;
    bool hide = false;
};

} // namespace nx5rb
