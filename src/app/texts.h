// Captions and titles that more than one window, page or procedure shows.
#pragma once

#include "link/prompt.h"

#include <string_view>

namespace nx5rb::texts {

inline constexpr std::string_view kAppTitle = "NX5RB调谐软件";
inline constexpr std::string_view kErrorTitle = prompt_title::kError;
inline constexpr std::string_view kWarningTitle = prompt_title::kWarning;

// The buttons of the tool's own dialogs.
inline constexpr std::string_view kOk = "确定";
inline constexpr std::string_view kCancel = "取消";

// The read and write buttons of every page.
inline constexpr std::string_view kRead = "读取(&R)";
inline constexpr std::string_view kWrite = "写入(&W)";

} // namespace nx5rb::texts
