// The channel page: 128 memory channels with frequencies, sub-tones, bandwidth, power and scan
// membership, one grid row per channel.
#pragma once

#include "editors/document.h"
#include "editors/editor_protocol.h"
#include "editors/text_grid.h"
#include "image/radio_image.h"

#include <array>
#include <string_view>

namespace nx5rb {

namespace channel_text {
inline constexpr std::string_view kFrame = "信道设置";
inline constexpr std::array<std::string_view, 8> kCaption
    = {"信道号",   "接收频率", "发射频率", "接收亚音",
       "发射亚音", "宽窄带",   "发射功率", "扫描添加/删除"};
inline constexpr std::string_view kNarrow = "窄";
inline constexpr std::string_view kWide = "宽";
inline constexpr std::string_view kLow = "低";
inline constexpr std::string_view kHigh = "高";
inline constexpr std::string_view kScanAdd = "添加";
inline constexpr std::string_view kScanDelete = "删除";
} // namespace channel_text

inline constexpr int kChannelRows = mm::kChannelCount + 1;
inline constexpr int kChannelCols = 8;
enum ChannelColumn {
    kColNumber = 0,
    kColRxFreq = 1,
    kColTxFreq = 2,
    kColRxTone = 3,
    kColTxTone = 4,
    kColBandwidth = 5,
    kColPower = 6,
    kColScan = 7,
};

// What the channel grid shows.
struct ChannelCells
{
    ChannelCells();

    TextGrid Grid; // row n shows channel n (numbered n - 1 for the user)
};

// Image -> grid: rows of channels whose receive frequency is valid; the transmit frequency and
// tone only where the transmit frequency is valid.
void AnalyseChInfo(const Document &doc, ChannelCells &cells);

} // namespace nx5rb
