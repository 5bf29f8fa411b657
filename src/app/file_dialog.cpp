#include "app/file_dialog.h"

#include "app/texts.h"

#include <algorithm>
#include <cctype>

namespace nx5rb {

std::string FileDialog(FileChooser &chooser, Prompt &prompt, std::string_view mode,
                       std::string_view title, std::string_view initialName, FileKind kind)
{
    std::string upper(mode);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    const FileChoice choice = chooser.Choose(upper == "OPEN", title, initialName, kind);
    if (choice.result == FileChoice::Failed) {
        prompt.Show({std::string(file_dialog_text::kFailed), std::string(texts::kAppTitle),
                     PromptButtons::Ok, PromptIcon::Error});
        return {};
    }
    if (choice.result != FileChoice::Chosen)
        return {};
    // A path ends at its first NUL, as the dialog's buffer did.
    return choice.path.substr(0, choice.path.find('\0'));
}

} // namespace nx5rb
