// The navigation tree of the main window and what a click on a node does, without widgets.
#pragma once

#include "link/prompt.h"

#include <array>
#include <string_view>

namespace nx5rb {

class WindowState;

enum class Page { FreqArea, TuneA, TuneB, TuneC, PowerOnMsg, ChannelInfo };

struct TreeNode
{
    std::string_view text;
    std::string_view key;
    std::string_view parentKey; // empty for the root
};

// The nodes in the order they are added; the root is expanded at start-up. "信道设置" opens the
// channel table, which otherwise could not be reached.
inline constexpr std::array<TreeNode, 13> kTreeNodes = {{
    {"高级", "Advanced", ""},
    {"端口选择", "PortSel", "Advanced"},
    {"频段设置", "FreqAreaSet", "Advanced"},
    {"调试", "Debug", "Advanced"},
    {"频段-A", "DebugA", "Debug"},
    {"灵敏度/功率", "TuneA", "DebugA"},
    {"频段-B", "DebugB", "Debug"},
    {"灵敏度/功率", "TuneB", "DebugB"},
    {"频段-C", "DebugC", "Debug"},
    {"灵敏度/功率", "TuneC", "DebugC"},
    {"MCU版本", "PowerOnMsg", "Advanced"},
    {"信道设置", "ChannelInfo", "Advanced"},
    {"关于", "About", "Advanced"},
}};

namespace navigation_text {
inline constexpr std::string_view kDataChanged = "数据改变！是否保存？";
inline constexpr std::string_view kCloseUnsaved = "数据尚未保存，确定关闭？";
} // namespace navigation_text

// What a node click ends in.
struct NodeAction
{
    enum Kind { None, ShowPage, PortDialog, AboutBox } kind = None;
    Page page = Page::FreqArea;
};

// What the node stands for, chosen by its text (the three "灵敏度/功率" nodes by their key).
NodeAction NodeActionOf(std::string_view text, std::string_view key);

// The pending-change question first ("数据改变！是否保存？": Yes applies, No decodes the edited
// pages again, Cancel stays), then the node's action, chosen by its text (the three
// "灵敏度/功率" nodes by their key).
NodeAction TreeView1_NodeClick(WindowState &state, Prompt &prompt, std::string_view text,
                               std::string_view key);

// Closing the window: with pending edits or changes since the last read, open, save or write,
// asks "数据尚未保存，确定关闭？"; true when the window may close.
bool ConfirmClose(const WindowState &state, Prompt &prompt);

} // namespace nx5rb
