#include "app/navigation.h"

#include "app/texts.h"
#include "app/window_state.h"

namespace nx5rb {

std::optional<NodeKey> NodeKeyNamed(std::string_view name)
{
    for (const TreeNode &node : kTreeNodes)
        if (node.name == name)
            return node.key;
    return std::nullopt;
}

NodeAction TreeView1_NodeClick(WindowState &state, Prompt &prompt, NodeKey key)
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
    return NodeActionOf(key);
}

NodeAction NodeActionOf(NodeKey key)
{
    auto show = [](Page page) { return NodeAction {NodeAction::ShowPage, page}; };
    switch (key) {
    case NodeKey::Advanced:
    case NodeKey::FreqAreaSet:
        return show(Page::FreqArea);
    case NodeKey::PortSel:
        return {NodeAction::PortDialog};
    case NodeKey::Debug:
    case NodeKey::DebugA:
    case NodeKey::TuneA:
        return show(Page::TuneA);
    case NodeKey::DebugB:
    case NodeKey::TuneB:
        return show(Page::TuneB);
    case NodeKey::DebugC:
    case NodeKey::TuneC:
        return show(Page::TuneC);
    case NodeKey::PowerOnMsg:
        return show(Page::PowerOnMsg);
    case NodeKey::ChannelInfo:
        return show(Page::ChannelInfo);
    case NodeKey::Settings:
        return {NodeAction::SettingsDialog};
    case NodeKey::About:
        return {NodeAction::AboutBox};
    }
    return {};
}

NodeKey NodeOfPage(Page page)
{
    switch (page) {
    case Page::FreqArea:
        return NodeKey::FreqAreaSet;
    case Page::TuneA:
        return NodeKey::TuneA;
    case Page::TuneB:
        return NodeKey::TuneB;
    case Page::TuneC:
        return NodeKey::TuneC;
    case Page::PowerOnMsg:
        return NodeKey::PowerOnMsg;
    case Page::ChannelInfo:
        return NodeKey::ChannelInfo;
    }
    return NodeKey::FreqAreaSet;
}

bool ConfirmClose(const WindowState &state, Prompt &prompt)
{
    if (!state.UnsavedChanges())
        return true;
    return prompt.Show({std::string(navigation_text::kCloseUnsaved), std::string(texts::kAppTitle),
                        PromptButtons::OkCancel, PromptIcon::Question, PromptAnswer::Cancel})
        == PromptAnswer::Ok;
}

} // namespace nx5rb
