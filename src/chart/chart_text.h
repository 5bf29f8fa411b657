// Every text the calibration chart shows, in UTF-8.
#pragma once

#include <array>

namespace nx5rb::chart_text {

inline constexpr std::array<const char *, 3> kTitle
    = {"频段-A 灵敏度/功率 曲线", "频段-B 灵敏度/功率 曲线", "频段-C 灵敏度/功率 曲线"};

// Curves and thresholds, named as the tune page names its rows and columns.
inline constexpr const char *kSensitivity = "灵敏度";
inline constexpr const char *kLowPower = "低功率";
inline constexpr const char *kHighPower = "高功率";
inline constexpr const char *kSquelch = "静噪";
inline constexpr const char *kSquelchHigh = "高阀值";
inline constexpr const char *kSquelchLow = "低阀值";
inline constexpr std::array<const char *, 8> kDetection
    = {"检测1(宽)", "检测2(宽)", "检测3(宽)", "检测4(宽)",
       "检测1(窄)", "检测2(窄)", "检测3(窄)", "检测4(窄)"};

// Axes.
inline constexpr const char *kFrequencyAxis = "频率(MHz)";
inline constexpr const char *kPowerAxis = "功率";
inline constexpr const char *kSensitivityAxis = "灵敏度";
inline constexpr const char *kThresholdAxis = "阀值";

// The shaded regions: points above the band's receive or transmit limit, which cannot be edited.
inline constexpr const char *kRxLocked = "超出接收上限(锁定)";
inline constexpr const char *kTxLocked = "超出发射上限(锁定)";

// While comparing, every series is named after its file: "%1 (%2)" is the series, then the file.
inline constexpr const char *kNamedSeries = "%1 (%2)";
inline constexpr const char *kCurrentData = "当前数据";

inline constexpr const char *kCompare = "对比文件(&C)...";
inline constexpr const char *kClearCompare = "取消对比(&X)";

// Accessible names of the two charts.
inline constexpr const char *kTuneChartName = "灵敏度/功率 曲线";
inline constexpr const char *kSquelchChartName = "静噪阀值";

} // namespace nx5rb::chart_text
