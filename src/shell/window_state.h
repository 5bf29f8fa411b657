// Everything the main window holds besides its widgets: the radio image, the working copies
// that the pages edit, the editor flags, and the procedures that keep them in step. The window,
// the command line and the tests all drive this one object.
#pragma once

#include "editors/document.h"
#include "editors/editor_protocol.h"
#include "editors/page_models.h"

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
    // Apply only when DataChanged is set (before a save).
    void ApplyIfChanged();
    // "No" in the navigation prompt: the edited pages are decoded again, the edits dropped.
    void DiscardEdits();
    // Area edits count as pending when DataChanged is set or the band-combination or
    // working-channel lists differ from their image bytes.
    bool ChangesPending() const;

    // What a completed read does once its blocks are in the image: repair, the 0xF99 adjustment,
    // and every page decoded.
    void CompleteRead();

    // The image now matches the radio or a file (after a read, an open, a save or a write).
    void MarkSynced() { SyncedImage = Image; }
    // Edits not yet applied, or an image that changed since it last matched the radio or a file.
    bool UnsavedChanges() const { return ChangesPending() || Image != SyncedImage; }
};

} // namespace nx5rb
