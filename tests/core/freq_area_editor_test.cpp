// The cell editor of the three frequency-area grids and the two kinds of list beside them.
#include "app/window_state.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace nx5rb {
namespace {

// Types `text` into the open editor and presses Enter, as the key handler does.
EditorCommit Enter(WindowState &state, int band, std::string_view text)
{
    state.EnterPressed = true;
    return FreqAreaCommit(state, state, state.FreqAreaView, band, text);
}

TEST(FreqAreaGridClick, OpensOnTheClickedCellWithItsText)
{
    WindowState state;
    state.EnterPressed = true;
    const EditorOpen editor = FreqAreaGridClick(state, state.FreqAreaView, 1, 2, 2);
    EXPECT_EQ(editor.kind, EditorKind::Text);
    EXPECT_EQ(std::pair(editor.cell.row, editor.cell.col), std::pair(2, 2));
    EXPECT_EQ(editor.text, "470");
    EXPECT_EQ(std::pair(int(state.EditRow), int(state.EditCol)), std::pair(2, 2));
    EXPECT_FALSE(state.EnterPressed);
}

TEST(FreqAreaGridClick, FixedRowAndColumnMoveToOneAndDashCellsStayClosed)
{
    const struct
    {
        int row, col;
        bool open;
        int editRow, editCol;
    } cases[] = {
        {0, 0, true, 1, 1},  {0, 2, true, 1, 2},  {3, 0, true, 3, 1}, {4, 0, true, 4, 1},
        {3, 2, false, 3, 2}, {4, 2, false, 4, 2}, {4, 1, true, 4, 1},
    };
    for (const auto &c : cases) {
        WindowState state;
        const EditorOpen editor = FreqAreaGridClick(state, state.FreqAreaView, 0, c.row, c.col);
        EXPECT_EQ(editor.kind != EditorKind::None, c.open) << c.row << "," << c.col;
        EXPECT_EQ(std::pair(int(state.EditRow), int(state.EditCol)),
                  std::pair(c.editRow, c.editCol));
        if (c.open) {
            EXPECT_EQ(std::pair(editor.cell.row, editor.cell.col), std::pair(c.editRow, c.editCol));
        }
    }
}

struct ClampCase
{
    int band;
    const char *typed;
    const char *shown;
};

class FreqAreaClampTest : public testing::TestWithParam<ClampCase>
{
};

TEST_P(FreqAreaClampTest, ValueIsHeldToTheBandsLimits)
{
    WindowState state;
    const int band = GetParam().band;
    FreqAreaGridClick(state, state.FreqAreaView, band, 1, 1);
    const EditorCommit commit = Enter(state, band, GetParam().typed);
    EXPECT_EQ(commit.shownText, GetParam().shown);
    EXPECT_EQ(state.FreqAreaView.Grids[band].Text(1, 1), GetParam().shown);
    EXPECT_EQ(state.FreqAreas[band].RxLow, std::stoi(GetParam().shown));
    EXPECT_TRUE(commit.next.has_value());
}

INSTANTIATE_TEST_SUITE_P(Typed, FreqAreaClampTest,
                         testing::Values(ClampCase {0, "99", "130"}, ClampCase {0, "999", "175"},
                                         ClampCase {0, "130", "130"}, ClampCase {0, "175", "175"},
                                         ClampCase {0, "150", "150"}, ClampCase {0, "0", "130"},
                                         ClampCase {0, "abc", "175"}, ClampCase {0, "70000", "175"},
                                         ClampCase {1, "399", "400"}, ClampCase {1, "521", "520"},
                                         ClampCase {1, "520", "520"}, ClampCase {2, "199", "200"},
                                         ClampCase {2, "261", "260"}, ClampCase {2, "230", "230"}));

TEST(FreqAreaCommit, EachCellStoresItsOwnField)
{
    const struct
    {
        int row, col;
        FreqArea expected;
    } cases[] = {
        {1, 1, {150, 175, 136, 175, 134}}, {1, 2, {136, 150, 136, 175, 134}},
        {2, 1, {136, 175, 150, 175, 134}}, {2, 2, {136, 175, 136, 150, 134}},
        {3, 1, {136, 175, 136, 175, 150}}, {4, 1, {136, 175, 136, 175, 134}},
    };
    for (const auto &c : cases) {
        WindowState state;
        FreqAreaGridClick(state, state.FreqAreaView, 0, c.row, c.col);
        const EditorCommit commit
            = FreqAreaCommit(state, state, state.FreqAreaView, 0, "150"); // focus lost
        EXPECT_EQ(state.FreqAreas[0], c.expected) << c.row << "," << c.col;
        EXPECT_EQ(state.FreqAreas[1], WindowState().FreqAreas[1]);
        EXPECT_EQ(state.DataChanged, c.row != 4);
        EXPECT_EQ(state.FreqAreaView.Grids[0].Text(c.row, c.col), "150");
        EXPECT_FALSE(commit.next.has_value());
        EXPECT_FALSE(commit.next.has_value());
    }
}

TEST(FreqAreaCommit, EmptyBoxGetsTheStoredValueBack)
{
    WindowState state;
    state.FreqAreas[2].TxHigh = 250; // a working value not yet applied
    FreqAreaGridClick(state, state.FreqAreaView, 2, 2, 2);
    EXPECT_EQ(FreqAreaCommit(state, state, state.FreqAreaView, 2, "").shownText, "250");
    EXPECT_EQ(state.FreqAreaView.Grids[2].Text(2, 2), "250");
    EXPECT_FALSE(state.DataChanged);

    FreqAreaGridClick(state, state.FreqAreaView, 2, 4, 1);
    EXPECT_EQ(FreqAreaCommit(state, state, state.FreqAreaView, 2, "").shownText, "");
    EXPECT_FALSE(state.DataChanged);
}

TEST(FreqAreaCommit, TheStoredValueAgainChangesNothing)
{
    WindowState state;
    FreqAreaGridClick(state, state.FreqAreaView, 0, 1, 2);
    Enter(state, 0, "175");
    EXPECT_FALSE(state.DataChanged);

    state.DataChanged = true; // an earlier edit elsewhere stays pending
    FreqAreaGridClick(state, state.FreqAreaView, 0, 1, 2);
    Enter(state, 0, "175");
    EXPECT_TRUE(state.DataChanged);
}

TEST(FreqAreaCommit, EnterWalksFiveCellsThenCloses)
{
    WindowState state;
    EditorOpen editor = FreqAreaGridClick(state, state.FreqAreaView, 1, 1, 1);
    std::vector<std::pair<int, int>> visited;
    const std::vector<const char *> typed = {"410", "500", "415", "490", "405"};
    for (const char *text : typed) {
        ASSERT_EQ(editor.kind, EditorKind::Text);
        visited.emplace_back(editor.cell.row, editor.cell.col);
        const EditorCommit commit = Enter(state, 1, text);
        if (!commit.next) {
            EXPECT_FALSE(state.EnterPressed);
            break;
        }
        editor
            = FreqAreaGridClick(state, state.FreqAreaView, 1, commit.next->row, commit.next->col);
    }
    EXPECT_EQ(visited, (std::vector<std::pair<int, int>> {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 1}}));
    EXPECT_EQ(state.FreqAreas[1], (FreqArea {410, 500, 415, 490, 405}));
    EXPECT_TRUE(state.DataChanged);

    // Applied, the values land in band B's record.
    state.Apply();
    EXPECT_EQ(state.Image[mm::kFreqAreaRecord[1] + 2], 0x50);
    EXPECT_EQ(state.Image[mm::kFreqAreaRecord[1] + 3], 0x00);
}

TEST(ComboSelFreqArea_Click, WritesTheCodeOfTheItemOnly)
{
    const std::uint8_t codes[] = {0x48, 0x37, 0x59, 0x6A, 0x7B, 0x8C, 0xFF};
    for (int item = 0; item < 7; ++item) {
        WindowState state;
        ComboSelFreqArea_Click(state, state.FreqAreaView, item);
        EXPECT_EQ(state.WorkBandsCode, codes[item]);
        EXPECT_FALSE(state.DataChanged);
        EXPECT_EQ(state.ChangesPending(), item != 6);
    }
}

TEST(ComboChannelSel_Click, UhfOrVhfAndDataChanged)
{
    WindowState state;
    ComboChannelSel_Click(state, state.FreqAreaView, 1, 0);
    EXPECT_EQ(state.WorkChannel[1], 0xFF);
    EXPECT_TRUE(state.DataChanged);
    ComboChannelSel_Click(state, state.FreqAreaView, 2, 1);
    EXPECT_EQ(state.WorkChannel[2], 0x37);
    state.Apply();
    EXPECT_EQ(state.Image[mm::kWorkChannel + 1], 0xFF);
    EXPECT_EQ(state.Image[mm::kWorkChannel + 2], 0x37);
}

} // namespace
} // namespace nx5rb
