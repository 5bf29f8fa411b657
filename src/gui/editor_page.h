// What the main window asks of every page, so that none can be forgotten where the window must
// commit an open editor (before a save, a transfer, a page change, closing) or show the core again.
#pragma once

namespace nx5rb {

class EditorPage
{
public:
    virtual ~EditorPage() = default;
    // Shows what the core holds.
    virtual void Paint() = 0;
    // Commits an editor that is still open, as leaving it would.
    virtual void CommitOpenEditor() = 0;
};

} // namespace nx5rb
