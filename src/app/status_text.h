// What the window's status line says besides the port: where the image came from, which regions
// still hold the start-up defaults, and how the last transfer ended.
#pragma once

#include "link/link_protocol.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace nx5rb {

namespace status_text {
inline constexpr std::string_view kOrigin = "来源：";
inline constexpr std::string_view kFromRadio = "电台";
inline constexpr std::string_view kStartUp = "启动默认值";
inline constexpr std::string_view kUnsaved = "未保存";
// After the title of a page whose region was neither read nor opened.
inline constexpr std::string_view kPlaceholderNote = "（启动默认值，未从电台读取）";
} // namespace status_text

// The parts of the image that one page shows and one pair of buttons moves.
enum class Region { Area, TuneA, TuneB, TuneC, Message, Channels };
inline constexpr int kRegionCount = 6;

constexpr Region TuneRegion(int band)
{
    return Region(int(Region::TuneA) + band);
}

// Where the image came from, as a whole and region by region.
class ImageOrigin
{
public:
    // Every region now holds the file's bytes.
    void Opened(const std::string &path);
    // The image is now the file's; the regions keep where they came from.
    void Saved(const std::string &path);
    // A completed read stored these blocks.
    void Read(std::span<const std::uint16_t> blocks);

    // The region was read from a radio or opened from a file since start-up.
    bool Loaded(Region region) const { return loaded_[std::size_t(region)]; }
    // The file last opened or saved; empty once a read has changed the image, or before any.
    const std::string &File() const { return file_; }
    // The file's name, "电台" after a read, "启动默认值" before either.
    std::string Text() const;

private:
    std::array<bool, kRegionCount> loaded_ {};
    bool read_ = false;
    std::string file_;
};

// How the last transfer command ended, as the status line tells it.
struct TransferReport
{
    // What the read-back after a write found.
    enum class Check { None, Verified, Differs, NotReadBack };

    TransferOutcome outcome = TransferOutcome::None; // None: no transfer yet
    bool read = false;
    int blocks = 0; // read, or written and acknowledged
    int planned = 0; // the blocks the transfer set out to move; 0 when it never got that far
    int regionBlocks
        = 0; // the region's blocks; a write that skips what the radio holds sends fewer
    Check check = Check::None;
    double seconds = 0; // on the wire, every step of the command together
};

// "读取完成 (18 块, 0.6 秒)", "写入完成，已校验 (33 块, 1.6 秒)", "已中止：12/33 块已写入" …; empty
// before the first transfer.
std::string TransferStatusText(const TransferReport &report);

// The warning after a write that stopped part-way: "已写入 12/128 块，电台中的数据新旧混杂。"
std::string PartialWriteText(const TransferResult &result);

} // namespace nx5rb
