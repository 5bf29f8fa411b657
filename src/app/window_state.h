// Everything the main window holds besides its widgets: the radio image, the working copies
// that the pages edit, the editor flags, and the procedures that keep them in step. The window,
// the command line and the tests all drive this one object.
#pragma once

#include "app/document_history.h"
#include "editors/document.h"
#include "editors/editor_protocol.h"
#include "editors/page_models.h"
#include "link/link_protocol.h"

#include <cstdint>
#include <span>

namespace nx5rb {

// The document, the editor cursor and the pages' models, with the procedures that keep them in
// step. A rule takes only the part it works on.
class WindowState : public Document, public EditorCursor, public PageModels
{
public:
    // A state right after start-up: erased image, defaults written, every page decoded and the
    // views applied once.
    WindowState();

    // The start-up sequence of the window's data, in its order.
    void StartUp();

    // Working copies -> image, then the tune pages are decoded again.
    void RefreshData();
    // Repair of an image just loaded (bands A and B area records and settings, 0xF9F).
    void ModifyData();
    // Every page decoded from the image.
    void AnalyseAll();

    // Marks the tune edges of all three bands for recomputation by the next tune decode.
    void SetEdgesStale();
    // "应用(&A)": stale edges, RefreshData, DataChanged cleared. Also what a save or a write does
    // with pending edits.
    void Apply();
    // Apply when edits are pending (before a save): DataChanged, or a list choice alone.
    void ApplyIfChanged();
    // "No" in the navigation prompt: the edited pages are decoded again, the edits dropped.
    void DiscardEdits();
    // Area edits count as pending when DataChanged is set or the band-combination or
    // working-channel lists differ from their image bytes.
    bool ChangesPending() const;

    // What a completed read does once its blocks are in the image: repair, the 0xF99 adjustment,
    // and every page decoded.
    void CompleteRead();
    // The end of a transfer: a completed read is repaired and decoded; the blocks that went over
    // the wire now match the radio.
    void FinishTransfer(const TransferResult &result);

    // The document as undo and redo keep it.
    DocumentSnapshot Snapshot() const { return SnapshotOf(*this); }
    // The document put back as it was (what the radio or a file holds stays), and every page shown
    // from it, pending edits included.
    void Restore(const DocumentSnapshot &snapshot);

    // The whole image now matches a file (after an open or a save).
    void MarkSynced() { SyncedImage = Image; }
    // These 16-byte blocks now match the radio.
    void MarkSynced(std::span<const std::uint16_t> blocks);
    // Edits not yet applied, or an image that changed since it last matched the radio or a file.
    bool UnsavedChanges() const { return ChangesPending() || Image != SyncedImage; }
};

} // namespace nx5rb
