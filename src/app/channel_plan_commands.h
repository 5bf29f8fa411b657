// Channel plans in and out of the channel page: "导入(&I)..." and "导出(&E)...".
#pragma once

#include "editors/channel_plan.h"
#include "link/prompt.h"

#include <string>
#include <string_view>

namespace nx5rb {

class WindowState;

namespace plan_text {
inline constexpr std::string_view kImportTitle = "导入";
inline constexpr std::string_view kExportTitle = "导出";
// "导入将覆盖 N 个信道，确定？" and "跳过 N 行，导入其余？", N put in place of the marker.
inline constexpr std::string_view kOverwrite = "导入将覆盖 {} 个信道，确定？";
inline constexpr std::string_view kSkipBad = "跳过 {} 行，导入其余？";
inline constexpr std::string_view kNothingToImport = "没有可导入的信道。";
inline constexpr std::string_view kReadFailed = "打开失败：";
inline constexpr std::string_view kSaveFailed = "保存失败：";
} // namespace plan_text

// One problem of a plan's line as the window says it: "第 3 行：接收频率“600.000”不在任何频段内".
std::string PlanIssueText(const PlanIssue &issue);

// Reads the plan at `path` into the channel table as the channel page's import does: refused rows
// are listed and the user decides whether to skip them, the number of channels it overwrites is
// asked about, and only then do the channels change (straight in the image, the grid decoded
// again). True when the import was made.
bool ImportChannelPlanFile(WindowState &state, const std::string &path, bool replaceAll,
                           Prompt &prompt);

// Writes the channel table to `path` in our own layout; a failure is reported.
bool ExportChannelPlanFile(const WindowState &state, const std::string &path, Prompt &prompt);

} // namespace nx5rb
