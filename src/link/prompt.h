// The message boxes the core shows: the window answers them with real dialogs, the command line
// and the tests with scripted answers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace nx5rb {

// The titles of the message boxes that report a failure or ask before a transfer.
namespace prompt_title {
inline constexpr std::string_view kError = "错误";
inline constexpr std::string_view kWarning = "警告";
} // namespace prompt_title

enum class PromptButtons { Ok, OkCancel, RetryCancel, YesNoCancel };
enum class PromptIcon { None, Error, Warning, Exclamation, Question, Information };
enum class PromptAnswer { Ok, Cancel, Retry, Yes, No };

struct PromptMessage
{
    PromptMessage() = default;
    PromptMessage(std::string text, std::string title, PromptButtons buttons = PromptButtons::Ok,
                  PromptIcon icon = PromptIcon::None,
                  std::optional<PromptAnswer> defaultButton = std::nullopt)
        : text(std::move(text))
        , title(std::move(title))
        , buttons(buttons)
        , icon(icon)
        , defaultButton(defaultButton)
    { }

    std::string text;
    std::string title;
    PromptButtons buttons = PromptButtons::Ok;
    PromptIcon icon = PromptIcon::None;
    // The button Enter presses; none for the box's own choice. A question whose yes destroys
    // data has Cancel.
    std::optional<PromptAnswer> defaultButton;

    bool operator==(const PromptMessage &) const = default;
};

class Prompt
{
public:
    virtual ~Prompt() = default;
    // Shows the message modally and returns the button the user chose. Events keep flowing while
    // a real message box is open.
    virtual PromptAnswer Show(const PromptMessage &message) = 0;
};

} // namespace nx5rb
