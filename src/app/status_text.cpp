#include "app/status_text.h"

#include "image/memory_map.h"

#include <algorithm>
#include <cstdio>

namespace nx5rb {

namespace {

// The block that tells a region was read: the first one its read stores.
constexpr std::array<std::uint16_t, kRegionCount> kRegionFirstBlock = {
    mm::kFreqAreaBlock, mm::kTuneBlock[0], mm::kTuneBlock[1],
    mm::kTuneBlock[2],  mm::kPowerOnMsg,   mm::kChannelTableStart,
};

// "1.6 秒"
std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f 秒", seconds);
    return text;
}

// " (33 块, 1.6 秒)"
std::string Amount(int blocks, double seconds)
{
    return " (" + std::to_string(blocks) + " 块, " + Seconds(seconds) + ")";
}

std::string Fraction(int part, int whole)
{
    return std::to_string(part) + "/" + std::to_string(whole);
}

} // namespace

void ImageOrigin::Opened(const std::string &path)
{
    loaded_.fill(true);
    file_ = path;
}

void ImageOrigin::Saved(const std::string &path)
{
    file_ = path;
}

void ImageOrigin::Read(std::span<const std::uint16_t> blocks)
{
    read_ = true;
    file_.clear();
    for (std::size_t region = 0; region < loaded_.size(); ++region)
        if (std::find(blocks.begin(), blocks.end(), kRegionFirstBlock[region]) != blocks.end())
            loaded_[region] = true;
}

std::string ImageOrigin::Text() const
{
    if (!file_.empty()) {
        const std::size_t slash = file_.find_last_of("/\\");
        return slash == std::string::npos ? file_ : file_.substr(slash + 1);
    }
    return std::string(read_ ? status_text::kFromRadio : status_text::kStartUp);
}

std::string TransferStatusText(const TransferReport &report)
{
    using Check = TransferReport::Check;
    const bool completed = report.outcome == TransferOutcome::Completed;
    switch (report.outcome) {
    case TransferOutcome::None:
    case TransferOutcome::Running:
    case TransferOutcome::NotStarted:
        return {};
    case TransferOutcome::Completed:
    case TransferOutcome::Abandoned:
        break;
    }
    if (report.read)
        return completed ? "读取完成" + Amount(report.planned, report.seconds) : "读取失败";
    if (!completed)
        return report.planned > 0
            ? "已中止：" + Fraction(report.blocks, report.planned) + " 块已写入"
            : "写入失败";
    std::string text;
    if (report.check == Check::Differs)
        text = "写入校验失败";
    else if (report.planned == 0)
        text = "写入 " + Fraction(0, report.regionBlocks) + " 块（全部与电台相同）";
    else if (report.planned < report.regionBlocks)
        text = "写入 " + Fraction(report.planned, report.regionBlocks) + " 块（其余与电台相同）";
    else
        text = "写入完成";
    if (report.check == Check::Verified)
        text += "，已校验";
    else if (report.check == Check::NotReadBack)
        text += "，未能读回校验";
    // A write of only the blocks that differ has said its count already.
    if (report.planned < report.regionBlocks)
        return text + " (" + Seconds(report.seconds) + ")";
    return text + Amount(report.planned, report.seconds);
}

std::string PartialWriteText(const TransferResult &result)
{
    return "已写入 " + std::to_string(result.blocks.size()) + "/" + std::to_string(result.planned)
        + " 块，电台中的数据新旧混杂。";
}

} // namespace nx5rb
