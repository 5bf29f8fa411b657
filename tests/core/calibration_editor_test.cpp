// The tune, squelch and modulation editors: what a click opens, what a commit stores, where Enter
// goes, and how the edits meet apply, discard and the shading of the points.
#include "app/window_state.h"
#include "editors/modulation_editor.h"
#include "editors/tune_editor.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

namespace nx5rb {
namespace {

enum class Grid { Tune, Squelch, Modulation };

std::unique_ptr<CellEditor> MakeEditor(WindowState &s, Grid grid, int band)
{
    if (grid == Grid::Tune)
        return std::make_unique<TuneGridEditor>(s, s, s.TuneViews[band], band);
    if (grid == Grid::Squelch)
        return std::make_unique<SquelchGridEditor>(s, s, s.TuneViews[band], band);
    return std::make_unique<ModulationEditor>(s, s, s.ModulationViews[band], band);
}

// Enter on every cell from `start` on, leaving each value as it is, until the editor closes.
std::vector<CellRef> WalkWithEnter(CellEditor &editor, CellRef start, std::size_t most = 100)
{
    std::vector<CellRef> visited;
    EditorOpen open = editor.Open(start);
    while (open.kind == EditorKind::Text && visited.size() < most) {
        visited.push_back(open.cell);
        const EditorCommit commit = editor.Commit({open.text, std::nullopt, true});
        if (!commit.next)
            break;
        open = editor.Open(*commit.next);
    }
    return visited;
}

// Columns 1..n of rows 1, 2, 3 in turn, n given per row.
std::vector<CellRef> Rows(std::vector<int> lastCol)
{
    std::vector<CellRef> cells;
    for (int row = 1; row <= int(lastCol.size()); ++row)
        for (int col = 1; col <= lastCol[row - 1]; ++col)
            cells.push_back({row, col});
    return cells;
}

constexpr int kOffset = kMaxOffsetBox;

TEST(CalibrationEditorOpen, ShadedCellsAndMissingBoxesOpenNothing)
{
    const struct
    {
        Grid grid;
        int band;
        CellRef clicked, cell;
        const char *text; // nullptr: nothing opens
        const char *full = nullptr; // a box this full swallows one more digit
    } cases[] = {
        {Grid::Tune, 0, {1, 10}, {1, 10}, nullptr},
        {Grid::Tune, 0, {3, 10}, {3, 10}, nullptr},
        {Grid::Tune, 0, {0, 0}, {1, 1}, "18", "255"},
        {Grid::Tune, 2, {2, 14}, {2, 14}, nullptr},
        {Grid::Squelch, 1, {2, 0}, {2, 1}, "82", "127"},
        {Grid::Modulation, 0, {0, 1}, {0, 1}, "15", "123"},
        {Grid::Modulation, 1, {0, 3}, {0, 3}, "43", "1023"},
        {Grid::Modulation, 1, {0, kOffset}, {0, kOffset}, "50", "255"},
        {Grid::Modulation, 0, {0, kOffset}, {0, kOffset}, nullptr},
    };
    for (const auto &c : cases) {
        WindowState state;
        const auto editor = MakeEditor(state, c.grid, c.band);
        const EditorOpen open = editor->Open(c.clicked);
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(open.kind, c.text ? EditorKind::Text : EditorKind::None);
        if (!c.text)
            continue;
        EXPECT_EQ(open.cell, c.cell);
        EXPECT_EQ(open.text, c.text);
        const std::string shorter(c.full, std::strlen(c.full) - 1);
        EXPECT_EQ(editor->Key(open, {shorter, 0}, '7').key, '7');
        EXPECT_EQ(editor->Key(open, {c.full, 0}, '7').key, kKeyNone);
    }
}

TEST(CalibrationEditorCommit, ClampOrKeepTheStoredValueAndStoreOnlyAChange)
{
    const mm::Address a = mm::kTuneBlock[0], b = mm::kTuneBlock[1], c = mm::kTuneBlock[2];
    const mm::Address sa = mm::kSettingsBlock[0], sb = mm::kSettingsBlock[1],
                      sc = mm::kSettingsBlock[2];
    const struct
    {
        Grid grid;
        int band;
        CellRef cell;
        const char *typed, *shown;
        std::map<int, int> stored; // image bytes once applied; no other byte changes
    } cases[] = {
        {Grid::Tune, 0, {1, 1}, "200", "127", {{a, 127}}}, // sensitivity stops at 127
        {Grid::Tune, 0, {2, 1}, "300", "255", {{a + 16, 255}}},
        {Grid::Tune, 0, {2, 1}, "150", "150", {{a + 16, 150}}},
        {Grid::Tune, 2, {1, 5}, "007", "007", {{c + 4, 7}}},
        {Grid::Tune, 1, {3, 9}, "99999999999", "255", {{b + 40, 255}}},
        {Grid::Tune, 0, {2, 1}, "130", "130", {}}, // retyped
        {Grid::Tune, 0, {1, 1}, "", "18", {}}, // emptied: the stored value comes back
        {Grid::Tune, 0, {3, 1}, "-1", "200", {}}, // no number: never the power limit
        {Grid::Tune, 1, {3, 12}, "0", "210", {}}, // shaded: a stray commit stores nothing
        {Grid::Squelch, 0, {1, 1}, "200", "127", {{a + 48, 127}}},
        {Grid::Squelch, 1, {1, 1}, "", "127", {{b + 48, 127}}}, // emptied: as high as it goes
        {Grid::Squelch, 2, {2, 8}, "5", "5", {{c + 63, 5}}},
        {Grid::Squelch, 0, {1, 4}, "x", "110", {}},
        {Grid::Modulation, 0, {0, 3}, "1000", "1000", {{sa + 3, 0x03}, {sa + 4, 0xE8}}},
        {Grid::Modulation, 0, {0, 3}, "1500", "1023", {{sa + 3, 0x03}, {sa + 4, 0xFF}}},
        {Grid::Modulation, 2, {0, 3}, "255", "255", {{sc + 3, 0x00}, {sc + 4, 0xFF}}},
        {Grid::Modulation, 2, {0, 3}, "256", "256", {{sc + 3, 0x01}, {sc + 4, 0x00}}},
        {Grid::Modulation, 1, {0, 1}, "200", "127", {{sb + 1, 127}}},
        {Grid::Modulation, 1, {0, 2}, "16", "15", {{sb + 2, 15}}},
        {Grid::Modulation, 2, {0, 4}, "64", "63", {{sc + 5, 63}}},
        {Grid::Modulation, 2, {0, 5}, "", "0", {{sc + 6, 0}}},
        {Grid::Modulation, 0, {0, 3}, "43", "43", {}},
        {Grid::Modulation, 0, {0, 0}, "x1", "26", {}},
        {Grid::Modulation, 1, {0, kOffset}, "300", "255", {{mm::kMaxOffset, 255}}},
        {Grid::Modulation, 2, {0, kOffset}, "", "0", {{mm::kMaxOffset, 0}}},
        {Grid::Modulation, 2, {0, kOffset}, "abc", "50", {}},
    };
    for (const auto &t : cases) {
        WindowState state;
        RadioImage expected = state.Image;
        for (const auto &[at, value] : t.stored)
            expected[at] = std::uint8_t(value);
        const auto editor = MakeEditor(state, t.grid, t.band);
        editor->Open(t.cell);
        const EditorCommit commit = editor->Commit({t.typed, std::nullopt, false});
        SCOPED_TRACE(&t - cases);
        EXPECT_EQ(commit.shownText, t.shown);
        EXPECT_FALSE(commit.next);
        EXPECT_EQ(state.DataChanged, !t.stored.empty());
        const ModulationBoxes &boxes = state.ModulationViews[t.band];
        const std::string &modelText = t.grid == Grid::Tune
            ? state.TuneViews[t.band].Tune.Text(t.cell.row, t.cell.col)
            : t.grid == Grid::Squelch ? state.TuneViews[t.band].Squelch.Text(t.cell.row, t.cell.col)
            : t.cell.col == kOffset   ? boxes.MaxOffset
                                      : boxes.Response[t.cell.col];
        EXPECT_EQ(modelText, t.shown);
        state.Apply();
        EXPECT_EQ(state.Image, expected);
    }
}

TEST(TuneCommit, EnterWalksTheUnshadedCellsRowByRowThenCloses)
{
    const struct
    {
        int band, rxHigh, txHigh; // 0: the limits at start
        std::vector<int> lastCol;
    } cases[] = {
        {0, 0, 0, {9, 9, 9}}, // 179 MHz in column 10 is above 175
        {2, 0, 0, {13, 13, 13}},   {1, 520, 520, {16, 16, 16}}, // no point above the limits
        {1, 520, 470, {16, 9, 9}}, {1, 470, 520, {9, 16, 16}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        WindowState state;
        if (c.rxHigh) {
            state.FreqAreas[c.band].RxHigh = std::int16_t(c.rxHigh);
            state.FreqAreas[c.band].TxHigh = std::int16_t(c.txHigh);
            state.Apply();
        }
        TuneGridEditor editor(state, state, state.TuneViews[c.band], c.band);
        EXPECT_EQ(WalkWithEnter(editor, {1, 1}), Rows(c.lastCol));
        EXPECT_FALSE(state.EnterPressed);
        EXPECT_FALSE(state.DataChanged);
    }
}

TEST(SquelchAndModulationCommit, EnterWalks)
{
    WindowState state;
    SquelchGridEditor squelch(state, state, state.TuneViews[1], 1);
    std::vector<CellRef> expected;
    for (int col = 1; col <= kSquelchColumns; ++col)
        expected.insert(expected.end(), {{1, col}, {2, col}});
    EXPECT_EQ(WalkWithEnter(squelch, {0, 0}), expected);
    EXPECT_FALSE(state.EnterPressed);

    // The offset box moves to the band's first setting; the sixth setting keeps the focus.
    ModulationEditor boxes(state, state, state.ModulationViews[2], 2);
    EXPECT_EQ(WalkWithEnter(boxes, {0, kOffset}, 9),
              (std::vector<CellRef> {
                  {0, kOffset}, {0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}, {0, 5}, {0, 5}}));
    EXPECT_FALSE(state.EnterPressed);
}

TEST(CalibrationEditsInTheWindow, ApplyDiscardAndPendingSeeThemAndShadingFollowsAppliedAreas)
{
    WindowState state;
    TuneGridEditor tune(state, state, state.TuneViews[1], 1);
    ModulationEditor boxes(state, state, state.ModulationViews[0], 0);
    boxes.Open({0, kOffset}); // band A has no offset box: nothing is open to commit
    boxes.Commit({"9", std::nullopt, false});
    EXPECT_FALSE(state.ChangesPending());
    tune.Open({2, 3});
    tune.Commit({"150", std::nullopt, false});
    boxes.Open({0, 3});
    boxes.Commit({"1000", std::nullopt, false});
    EXPECT_TRUE(state.ChangesPending());
    state.DiscardEdits();
    EXPECT_FALSE(state.ChangesPending());
    EXPECT_EQ(tune.Open({2, 3}).text, "130");
    EXPECT_EQ(boxes.Open({0, 3}).text, "43");

    boxes.Commit({"1000", std::nullopt, false});
    state.Apply();
    EXPECT_FALSE(state.ChangesPending());
    EXPECT_EQ(state.ModulationViews[0].Response[kTotalDeviationField], "1000");

    // A new tuning frequency moves the points and the shading once it is applied.
    FreqAreaGridClick(state, state.FreqAreaView, 1, 3, 1);
    FreqAreaCommit(state, state, state.FreqAreaView, 1, "410");
    EXPECT_EQ(state.TuneViews[1].Tune.Text(0, 1), "400");
    EXPECT_EQ(tune.Open({1, 9}).kind, EditorKind::Text); // 464 MHz
    state.Apply();
    const TextGrid &grid = state.TuneViews[1].Tune;
    EXPECT_EQ(grid.Text(0, 1), "410");
    EXPECT_EQ(grid.Text(0, 15), "522");
    EXPECT_EQ(grid.Text(0, 16), "≥530");
    EXPECT_EQ(WalkWithEnter(tune, {1, 1}), Rows({8, 8, 8})); // 474 MHz in column 9 is above 470
}

} // namespace
} // namespace nx5rb
