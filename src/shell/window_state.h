// Everything the main window holds besides its widgets: the radio image, the working copies
// that the pages edit, the editor flags, and the procedures that keep them in step. The window,
// the command line and the tests all drive this one object.
#pragma once

#include "editors/channel_view.h"
#include "editors/freq_area_view.h"
#include "editors/modulation_view.h"
#include "editors/power_on_view.h"
#include "editors/tune_table_view.h"
#include "image/data_file.h"
#include "image/radio_image.h"

#include <array>
#include <cstdint>

namespace nx5rb {

class WindowState
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

    // --- the image and its working copies ---
    RadioImage Image {};
    TuneBufferBytes TuneBuffer {};
    FreqAreaTable FreqAreas {};
    std::uint8_t WorkBandsCode = 0;
    std::array<std::uint8_t, mm::kBandCount> WorkChannel {};
    std::array<std::uint8_t, mm::kBandCount * mm::kSettingsBlockSize> ModulationRecords {};
    std::uint8_t MaxOffset = 0;
    std::array<std::uint8_t, mm::kPowerOnLines * mm::kPowerOnLineLength> PowerOnMsg {};
    FileHeaderBytes FileHeader {};
    RadioImage SyncedImage {}; // the image as of the last read, open, save or write

    // --- editor state shared by every page ---
    bool DataChanged = false;
    bool EnterPressed = false;
    bool Analysing = false;
    std::int16_t EditRow = 0;
    std::int16_t EditCol = 0;

    // --- tune-table edges ---
    std::array<bool, mm::kBandCount> RxEdgeStale {};
    std::array<bool, mm::kBandCount> TxEdgeStale {};
    std::array<std::int16_t, mm::kBandCount> RxEdgeCol {};
    std::array<std::int16_t, mm::kBandCount> TxEdgeCol {};

    // --- what the pages show ---
    FreqAreaPage FreqAreaView;
    std::array<TunePage, mm::kBandCount> TuneViews;
    std::array<ModulationPage, mm::kBandCount> ModulationViews;
    PowerOnPage PowerOnView;
    ChannelPage ChannelView;
};

} // namespace nx5rb
