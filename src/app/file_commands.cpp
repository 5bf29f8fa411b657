#include "app/file_commands.h"

#include "app/texts.h"
#include "app/window_state.h"
#include "image/data_file.h"

#include <utility>

#include <QFileInfo>
#include <QString>

namespace nx5rb {

namespace {

void ShowWrongFile(Prompt &prompt)
{
    prompt.Show({std::string(file_text::kWrongFile), std::string(texts::kErrorTitle),
                 PromptButtons::Ok, PromptIcon::Error});
}

OpenResult Load(WindowState &state, const DataFileContents &contents, Prompt &prompt)
{
    if (contents.status == DataFileStatus::CannotRead) {
        prompt.Show({std::string(file_text::kOpenFailed) + "\n" + contents.reason,
                     std::string(texts::kErrorTitle), PromptButtons::Ok, PromptIcon::Error});
        return OpenResult::Failed;
    }
    state.FileHeader = contents.header;
    const bool good = contents.status == DataFileStatus::Ok;
    if (good)
        state.Image = contents.image;
    else
        ShowWrongFile(prompt);
    state.SetEdgesStale();
    state.ModifyData();
    state.AnalyseAll();
    if (!good)
        return OpenResult::Refused;
    state.MarkSynced();
    return OpenResult::Opened;
}

bool ConfirmOpen(Prompt &prompt)
{
    // Enter keeps what is on the pages: 取消 is the default.
    return prompt.Show({std::string(file_text::kConfirmOpen), std::string(texts::kAppTitle),
                        PromptButtons::OkCancel, PromptIcon::Warning, PromptAnswer::Cancel})
        == PromptAnswer::Ok;
}

} // namespace

OpenResult OpenDataFile(WindowState &state, const std::string &path, Prompt &prompt)
{
    if (!ConfirmOpen(prompt))
        return OpenResult::Cancelled;
    return Load(state, ReadDataFile(path), prompt);
}

OpenResult OpenDataBytes(WindowState &state, std::span<const std::uint8_t> bytes, Prompt &prompt)
{
    return Load(state, ParseDataFile(bytes), prompt);
}

std::optional<DecodedDocument> DecodeDocument(const DataFileContents &contents, Prompt &prompt)
{
    WindowState state;
    if (Load(state, contents, prompt) != OpenResult::Opened)
        return std::nullopt;
    return DecodedDocument {std::move(static_cast<Document &>(state)),
                            std::move(static_cast<PageModels &>(state))};
}

std::optional<DecodedDocument> ReadDocumentFromFile(const std::string &path, Prompt &prompt)
{
    return DecodeDocument(ReadDataFile(path), prompt);
}

bool IsReplaceableOutput(const std::string &path)
{
    const QFileInfo file(QString::fromStdString(path));
    return !file.exists() || file.isFile();
}

bool SaveDataFile(WindowState &state, const std::string &path, Prompt &prompt)
{
    const auto refuse = [&prompt](std::string_view reason) {
        prompt.Show({std::string(file_text::kSaveFailed) + "\n" + std::string(reason),
                     std::string(texts::kErrorTitle), PromptButtons::Ok, PromptIcon::Error});
        return false;
    };
    if (!IsReplaceableOutput(path))
        return refuse(file_text::kNotRegularFile);
    std::copy(kFileHeaderText.begin(), kFileHeaderText.end(), state.FileHeader.begin());
    if (const auto reason = WriteDataFile(path, state.Image))
        return refuse(*reason);
    state.MarkSynced();
    return true;
}

} // namespace nx5rb
