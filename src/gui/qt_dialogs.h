// The message boxes and file dialogs of the window: QMessageBox and QFileDialog.
#pragma once

#include "app/file_dialog.h"
#include "link/prompt.h"

class QWidget;

namespace nx5rb {

class QtPrompt final : public Prompt
{
public:
    explicit QtPrompt(QWidget *parent = nullptr)
        : parent_(parent)
    { }
    PromptAnswer Show(const PromptMessage &message) override;

private:
    QWidget *parent_;
};

class QtFileChooser final : public FileChooser
{
public:
    explicit QtFileChooser(QWidget *parent = nullptr)
        : parent_(parent)
    { }
    FileChoice Choose(bool open, std::string_view title, std::string_view initialName,
                      FileKind kind) override;

    // Where the dialogs open; the folder of the last file chosen.
    std::string Folder;

private:
    QWidget *parent_;
};

} // namespace nx5rb
