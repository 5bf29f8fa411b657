// The navigation tree of the main window and what a click on a node does, without widgets.
#pragma once

#include "link/prompt.h"

#include <array>
#include <optional>
#include <string_view>

namespace nx5rb {

class WindowState;

enum class Page { FreqArea, TuneA, TuneB, TuneC, PowerOnMsg, ChannelInfo };

// The nodes of the tree, by key.
enum class NodeKey {
    Advanced,
    PortSel,
    FreqAreaSet,
    Debug,
    DebugA,
    TuneA,
    DebugB,
    TuneB,
    DebugC,
    TuneC,
    PowerOnMsg,
    ChannelInfo,
    Settings,
    About,
};

struct TreeNode
{
    NodeKey key;
    std::string_view name; // the key as the tree stores it
    std::string_view text; // the caption the tree shows
    std::optional<NodeKey> parent; // none for the root
};

// The nodes in the order they are added; the root is expanded at start-up. "信道设置" opens the
// channel table, which otherwise could not be reached; "设置" the switches of the safety net.
inline constexpr std::array<TreeNode, 14> kTreeNodes = {{
    {NodeKey::Advanced, "Advanced", "高级", std::nullopt},
    {NodeKey::PortSel, "PortSel", "端口选择", NodeKey::Advanced},
    {NodeKey::FreqAreaSet, "FreqAreaSet", "频段设置", NodeKey::Advanced},
    {NodeKey::Debug, "Debug", "调试", NodeKey::Advanced},
    {NodeKey::DebugA, "DebugA", "频段-A", NodeKey::Debug},
    {NodeKey::TuneA, "TuneA", "灵敏度/功率", NodeKey::DebugA},
    {NodeKey::DebugB, "DebugB", "频段-B", NodeKey::Debug},
    {NodeKey::TuneB, "TuneB", "灵敏度/功率", NodeKey::DebugB},
    {NodeKey::DebugC, "DebugC", "频段-C", NodeKey::Debug},
    {NodeKey::TuneC, "TuneC", "灵敏度/功率", NodeKey::DebugC},
    {NodeKey::PowerOnMsg, "PowerOnMsg", "MCU版本", NodeKey::Advanced},
    {NodeKey::ChannelInfo, "ChannelInfo", "信道设置", NodeKey::Advanced},
    {NodeKey::Settings, "Settings", "设置", NodeKey::Advanced},
    {NodeKey::About, "About", "关于", NodeKey::Advanced},
}};

// The node a stored key names, if any.
std::optional<NodeKey> NodeKeyNamed(std::string_view name);

namespace navigation_text {
inline constexpr std::string_view kDataChanged = "数据改变！是否保存？";
inline constexpr std::string_view kCloseUnsaved = "数据尚未保存，确定关闭？";
} // namespace navigation_text

// What a node click ends in.
struct NodeAction
{
    enum Kind { None, ShowPage, PortDialog, SettingsDialog, AboutBox } kind = None;
    Page page = Page::FreqArea;
};

// What the node stands for.
NodeAction NodeActionOf(NodeKey key);
// The node the tree highlights while a page is shown (of the nodes that show it, the one named
// after the page).
NodeKey NodeOfPage(Page page);

// The pending-change question first ("数据改变！是否保存？": Yes applies, No decodes the edited
// pages again, Cancel stays), then the node's action.
NodeAction TreeView1_NodeClick(WindowState &state, Prompt &prompt, NodeKey key);

// Closing the window: with pending edits or changes since the last read, open, save or write,
// asks "数据尚未保存，确定关闭？" (取消 the default); true when the window may close.
bool ConfirmClose(const WindowState &state, Prompt &prompt);

} // namespace nx5rb
