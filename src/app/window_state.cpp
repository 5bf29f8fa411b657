#include "app/window_state.h"

#include <algorithm>

namespace nx5rb {

namespace {

constexpr std::uint8_t kEchoedByte9 = 0x89;
constexpr std::uint8_t kBandBByte9 = 0x3B;

} // namespace

WindowState::WindowState()
{
    StartUp();
}

void WindowState::StartUp()
{
    EraseImage(Image);
    TuneBuffer.fill(mm::kErased);
    ModulationRecords.fill(mm::kErased);
    MaxOffset = mm::kErased;
    PowerOnMsg.fill(' ');
    DataChanged = false;
    EnterPressed = false;
    EditRow = 0;
    EditCol = 0;
    RxEdgeCol.fill(kNoEdge);
    TxEdgeCol.fill(kNoEdge);
    SetEdgesStale();

    // The pages start captioned and empty; the band-combination list shows a placeholder until
    // the first decode selects the image's item.
    FreqAreaView = FreqAreaCells();
    for (int band = 0; band < mm::kBandCount; ++band) {
        const auto &limits = defaults::kFreqAreas[band];
        FreqAreas[band]
            = {std::int16_t(limits[0]), std::int16_t(limits[1]), std::int16_t(limits[2]),
               std::int16_t(limits[3]), std::int16_t(limits[4])};
    }
    WorkBandsCode = defaults::kWorkBandsCode;
    WorkChannel = defaults::kWorkChannel;
    WriteFreqAreaDefaults(Image);
    AnalyseFreqArea(*this, FreqAreaView);

    TuneViews.fill(TuneCells());
    ModulationViews.fill(ModulationBoxes());
    WriteTuneDefaults(Image);
    AnalyseTuneData(*this, TuneViews, ModulationViews);

    PowerOnView = PowerOnBoxes();
    WritePowerOnDefaults(Image);
    AnalysePowerOnMsg(*this, PowerOnView);

    ChannelView = ChannelCells();
    AnalyseChInfo(*this, ChannelView);
    RefreshData();
    MarkSynced();
}

void WindowState::RefreshData()
{
    EncodeWorkingCopies(*this);
    AnalyseTuneData(*this, TuneViews, ModulationViews);
}

void WindowState::ModifyData()
{
    for (int band = 0; band < 2; ++band) {
        RepairFreqArea(Image, band);
        RepairModulation(Image, band);
    }
    Image[mm::kSettingsMarker] = mm::kSettingsMarkerValue;
}

void WindowState::AnalyseAll()
{
    AnalyseFreqArea(*this, FreqAreaView);
    AnalyseTuneData(*this, TuneViews, ModulationViews);
    AnalysePowerOnMsg(*this, PowerOnView);
    AnalyseChInfo(*this, ChannelView);
}

void WindowState::SetEdgesStale()
{
    RxEdgeStale.fill(true);
    TxEdgeStale.fill(true);
}

void WindowState::Apply()
{
    SetEdgesStale();
    RefreshData();
    DataChanged = false;
}

void WindowState::ApplyIfChanged()
{
    if (ChangesPending())
        Apply();
}

void WindowState::DiscardEdits()
{
    AnalyseFreqArea(*this, FreqAreaView);
    AnalyseTuneData(*this, TuneViews, ModulationViews);
    AnalysePowerOnMsg(*this, PowerOnView);
    DataChanged = false;
}

bool WindowState::ChangesPending() const
{
    if (DataChanged || WorkBandsCode != Image[mm::kWorkBandsCode])
        return true;
    for (int band = 0; band < mm::kBandCount; ++band)
        if (WorkChannel[band] != Image[mm::kWorkChannel + band])
            return true;
    return false;
}

void WindowState::CompleteRead()
{
    SetEdgesStale();
    ModifyData();
    if (Image[mm::kBandASettingsByte9] == kEchoedByte9
        && Image[mm::kBandBSettingsByte9] == kEchoedByte9)
        Image[mm::kBandBSettingsByte9] = kBandBByte9;
    AnalyseAll();
}

void WindowState::FinishTransfer(const TransferResult &result)
{
    if (result.read && result.outcome == TransferOutcome::Completed)
        CompleteRead();
    MarkSynced(result.blocks);
}

void WindowState::Restore(const DocumentSnapshot &snapshot)
{
    RestoreInto(*this, snapshot);
    // The pages show the working copies: decode them from a copy that has them applied.
    WindowState applied(*this);
    applied.RefreshData();
    applied.AnalyseAll();
    static_cast<PageModels &>(*this) = applied;
}

void WindowState::MarkSynced(std::span<const std::uint16_t> blocks)
{
    for (const std::uint16_t block : blocks)
        if (std::size_t(block) + mm::kBlockSize <= mm::kImageSize)
            std::copy_n(Image.begin() + block, mm::kBlockSize, SyncedImage.begin() + block);
}

} // namespace nx5rb
