// Choosing the data file for "打开(&O)" and "保存(&S)": the system's open or save dialog behind a
// seam, so tests can answer it.
#pragma once

#include "link/prompt.h"

#include <string>
#include <string_view>

namespace nx5rb {

namespace file_dialog_text {
inline constexpr std::string_view kOpenTitle = "打开";
inline constexpr std::string_view kSaveTitle = "保存";
inline constexpr std::string_view kDataFilter = "对讲机数据文件(*.dat)";
inline constexpr std::string_view kAllFilter = "所有文件(*.*)";
inline constexpr std::string_view kDefaultSuffix = "dat";
inline constexpr std::string_view kPlanFilter = "信道表(*.csv)";
inline constexpr std::string_view kPlanSuffix = "csv";
inline constexpr std::string_view kFailed = "未知原因导致操作失败！";
} // namespace file_dialog_text

// What the dialog looks for: data files ("*.dat") or channel plans ("*.csv").
enum class FileKind { DataFile, ChannelPlan };

struct FileChoice
{
    enum Result { Chosen, Cancelled, Failed } result = Cancelled;
    std::string path;
};

class FileChooser
{
public:
    virtual ~FileChooser() = default;
    // The open dialog (the file must exist) or the save dialog (default suffix "dat" or "csv",
    // asks before overwriting), with the kind's filter first and "all files" second.
    virtual FileChoice Choose(bool open, std::string_view title, std::string_view initialName,
                              FileKind kind)
        = 0;
};

// The chosen path, or empty when the user cancelled or the dialog failed (which is reported
// with "未知原因导致操作失败！"). `mode` "OPEN" in any case shows the open dialog, anything else
// the save dialog.
std::string FileDialog(FileChooser &chooser, Prompt &prompt, std::string_view mode,
                       std::string_view title, std::string_view initialName,
                       FileKind kind = FileKind::DataFile);

} // namespace nx5rb
