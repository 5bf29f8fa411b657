// The open and save dialogs answered from a script.
#pragma once

#include "app/file_dialog.h"

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace nx5rb::test {

// The open and save dialogs: every request is recorded; choices come from the script, Cancel
// once it runs out.
class ScriptedFiles final : public FileChooser
{
public:
    struct Request
    {
        bool open = false;
        std::string title;
        std::string initialName;
        FileKind kind = FileKind::DataFile;
    };

    FileChoice Choose(bool open, std::string_view title, std::string_view initialName,
                      FileKind kind) override
    {
        Requests.push_back({open, std::string(title), std::string(initialName), kind});
        if (Choices.empty())
            return {FileChoice::Cancelled, {}};
        const FileChoice choice = Choices.front();
        Choices.pop_front();
        return choice;
    }

    void Choose(const std::string &path) { Choices.push_back({FileChoice::Chosen, path}); }

    std::deque<FileChoice> Choices;
    std::vector<Request> Requests;
};

} // namespace nx5rb::test
