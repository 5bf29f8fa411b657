#include "app/navigation.h"

#include "app/texts.h"
#include "app/window_state.h"

namespace nx5rb {

NodeAction TreeView1_NodeClick(WindowState &state, Prompt &prompt, std::string_view text,
                               std::string_view key)
{
    if (state.ChangesPending()) {
        const PromptAnswer answer = prompt.Show({std::string(navigation_text::kDataChanged),
                                                 std::string(texts::kAppTitle),
                                                 PromptButtons::YesNoCancel, PromptIcon::Question});
        if (answer == PromptAnswer::Yes)
            state.Apply();
        else if (answer == PromptAnswer::No)
            state.DiscardEdits();
        else
            return {};
    }
    return NodeActionOf(text, key);
}

NodeAction NodeActionOf(std::string_view text, std::string_view key)
{
    auto show = [](Page page) { return NodeAction {NodeAction::ShowPage, page}; };
    if (text == "高级" || text == "频段设置")
        return show(Page::FreqArea);
    if (text == "端口选择")
        return {NodeAction::PortDialog};
    if (text == "调试" || text == "频段-A")
        return show(Page::TuneA);
    if (text == "频段-B")
        return show(Page::TuneB);
    if (text == "频段-C")
        return show(Page::TuneC);
    if (text == "灵敏度/功率")
        return show(key == "TuneA" ? Page::TuneA : key == "TuneB" ? Page::TuneB : Page::TuneC);
    if (text == "MCU版本")
        return show(Page::PowerOnMsg);
    if (text == "信道设置")
        return show(Page::ChannelInfo);
    if (text == "关于")
        return {NodeAction::AboutBox};
    return {};
}

bool ConfirmClose(const WindowState &state, Prompt &prompt)
{
    if (!state.UnsavedChanges())
        return true;
    return prompt.Show({std::string(navigation_text::kCloseUnsaved), std::string(texts::kAppTitle),
                        PromptButtons::OkCancel, PromptIcon::Question})
        == PromptAnswer::Ok;
}

} // namespace nx5rb
