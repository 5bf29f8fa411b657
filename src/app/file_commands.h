// Opening and saving data files, as "打开(&O)" and "保存(&S)" do once a path has been chosen.
#pragma once

#include "editors/document.h"
#include "editors/page_models.h"
#include "image/data_file.h"
#include "link/prompt.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace nx5rb {

class WindowState;

namespace file_text {
inline constexpr std::string_view kConfirmOpen = "覆盖当前数据？";
inline constexpr std::string_view kWrongFile = "错误的文件！";
inline constexpr std::string_view kOpenFailed = "打开失败：";
inline constexpr std::string_view kSaveFailed = "保存失败：";
inline constexpr std::string_view kNotRegularFile
    = "这不是普通文件（设备、管道或文件夹），不能保存到这里。";
} // namespace file_text

enum class OpenResult {
    Opened, // the file's image is in place and every page shows it
    Cancelled, // the user kept the current data
    Refused, // not a data file: the image is unchanged, the pages decoded again
    Failed, // the file could not be read: nothing changed
};

// Asks "覆盖当前数据？", then reads the file; a good file replaces the image, is repaired and
// decoded into every page. A refused file still has the pages decoded again from the unchanged
// image; a file that cannot be read changes nothing.
OpenResult OpenDataFile(WindowState &state, const std::string &path, Prompt &prompt);

// The open after the confirmation, on bytes already read (the fuzzer's entry too).
OpenResult OpenDataBytes(WindowState &state, std::span<const std::uint8_t> bytes, Prompt &prompt);

// A data file as "打开(&O)" leaves it once confirmed: the repaired document and what every page
// shows of it. Nothing edits it: a file to compare with, a file the command line works on.
struct DecodedDocument : Document, PageModels
{
};

// Contents already read, opened into a document of their own as "打开(&O)" would once confirmed
// (header check, repair, every page decoded), without asking and without touching any other
// state. Contents that are refused or could not be read are reported through `prompt`, and
// nothing is returned.
std::optional<DecodedDocument> DecodeDocument(const DataFileContents &contents, Prompt &prompt);

// A data file read and opened as DecodeDocument opens it.
std::optional<DecodedDocument> ReadDocumentFromFile(const std::string &path, Prompt &prompt);

// Whether a save may replace `path`: it does not exist, or it is a regular file (also through a
// link). A device, a pipe or a folder is never replaced nor written into.
bool IsReplaceableOutput(const std::string &path);

// Writes the image as a data file; a failure is reported and leaves any earlier file as it was,
// and a path that is not a regular file is refused before anything is written. The caller applies
// pending edits first (WindowState::ApplyIfChanged), before the file is chosen.
bool SaveDataFile(WindowState &state, const std::string &path, Prompt &prompt);

} // namespace nx5rb
