// The editors of the channel grid and of the power-on message boxes, driven as the binder drives
// them: open on a click, keys through Key, commit with what the user left.
#include "app/window_state.h"
#include "editors/channel_editor.h"
#include "editors/channel_plan.h"
#include "editors/field_table.h"
#include "editors/power_on_editor.h"
#include "support/image_bytes.h"

#include <gtest/gtest.h>

namespace nx5rb {
namespace {

using test::Bytes;
using test::Get;
using test::Put;

constexpr int kNewRow = 3; // an unused record with leftovers of an old channel
const Bytes kLeftovers = {0xFF, 0xFF, 0xFF, 0xFF, 0x14, 0x60, 0x00, 0x00,
                          0x70, 0x06, 0x23, 0x80, 0x85, 0x77, 0xAA, 0xBB};

// Channel 1 complete, channel 2 without a transmit frequency, channel 3 unused but not erased.
struct ChannelGrid : testing::Test
{
    ChannelGrid()
    {
        Put(state.Image, mm::ChannelRecord(1),
            {0x14, 0x51, 0x25, 0x00, 0x14, 0x51, 0x25, 0x00, 0x70, 0x06, 0x23, 0x80, 0x85, 0x00,
             0xAA, 0xBB});
        Put(state.Image, mm::ChannelRecord(2),
            {0x43, 0x30, 0x06, 0x25, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x06, 0x23, 0x80, 0x04, 0x00});
        Put(state.Image, mm::ChannelRecord(kNewRow), kLeftovers);
        AnalyseChInfo(state, state.ChannelView);
    }

    EditorCommit Type(int row, int col, const std::string &text)
    {
        editor.Open({row, col});
        return editor.Commit({text, std::nullopt, true});
    }
    EditorCommit Choose(int row, int col, std::optional<int> item)
    {
        editor.Open({row, col});
        return editor.Commit({"", item, false});
    }
    const std::string &Cell(int row, int col) const
    {
        return state.ChannelView.Grid.Text(row, col);
    }
    Bytes Record(int row) const { return Get(state.Image, mm::ChannelRecord(row), 16); }

    WindowState state;
    ChannelGridEditor editor {state, state, state.ChannelView};
};

TEST_F(ChannelGrid, ClickOpensTheCellOrRedirects)
{
    const struct
    {
        CellRef clicked;
        EditorKind kind;
        CellRef opened;
    } cases[] = {
        {{0, 0}, EditorKind::Text, {1, 1}}, // fixed cells move to the first channel
        {{kNewRow, 5}, EditorKind::Text, {kNewRow, 1}}, // no channel yet: its receive frequency
        {{2, 4}, EditorKind::Text, {2, 2}}, // no transmit frequency for a transmit tone
        {{2, 3}, EditorKind::Combo, {2, 3}},
        {{1, 4}, EditorKind::Combo, {1, 4}},
        {{1, 2}, EditorKind::Text, {1, 2}},
        {{129, 1}, EditorKind::None, {129, 1}},
    };
    for (const auto &c : cases) {
        const EditorOpen open = editor.Open(c.clicked);
        EXPECT_EQ(open.kind, c.kind) << c.clicked.row << "," << c.clicked.col;
        EXPECT_EQ(open.cell, c.opened) << c.clicked.row << "," << c.clicked.col;
        if (c.kind == EditorKind::Text) {
            EXPECT_EQ(open.keyKind, KeyKind::Frequency);
        }
    }
    // A list opens on its item for the cell; a tone it does not hold opens on "无".
    const EditorOpen bandwidth = editor.Open({1, 5});
    EXPECT_EQ(bandwidth.items, (std::vector<std::string> {"窄", "宽"}));
    EXPECT_EQ(bandwidth.items[bandwidth.selected], Cell(1, 5));
    EXPECT_EQ(editor.Open({1, 4}).selected, 51); // 023N
    EXPECT_EQ(Cell(2, 3), "60.0");
    EXPECT_EQ(editor.Open({2, 3}).selected, 0);
}

TEST_F(ChannelGrid, ReceiveFrequencyCreatesAChannelOnTheRaster)
{
    const struct
    {
        const char *typed;
        Bytes stored;
        const char *shown;
        bool message;
    } cases[] = {
        {"145.0125", {0x14, 0x50, 0x12, 0x50}, "145.01250", false},
        {"145.003", {0x14, 0x50, 0x05, 0x00}, "145.00500", false},
        {"145.006", {0x14, 0x50, 0x06, 0x25}, "145.00625", false},
        {"145.0056", {0x14, 0x50, 0x05, 0x00}, "145.00500", false},
        {"136", {0x13, 0x60, 0x00, 0x00}, "136.00000", false},
        {"175", {0x17, 0x50, 0x00, 0x00}, "175.00000", false},
        {"435", {0x43, 0x50, 0x00, 0x00}, "435.00000", false},
        {".", {0x13, 0x60, 0x00, 0x00}, "136.00000", true},
        {"300", {0x26, 0x00, 0x00, 0x00}, "260.00000", true},
        {"500", {0x47, 0x00, 0x00, 0x00}, "470.00000", true},
        {"180", {0x17, 0x50, 0x00, 0x00}, "175.00000", true},
        {"175.00001", {0x17, 0x50, 0x00, 0x00}, "175.00000", true},
        {"100", {0x13, 0x60, 0x00, 0x00}, "136.00000", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        Put(state.Image, mm::ChannelRecord(kNewRow), kLeftovers);
        AnalyseChInfo(state, state.ChannelView);
        const EditorCommit commit = Type(kNewRow, 1, c.typed);
        EXPECT_EQ(commit.shownText, c.shown);
        EXPECT_EQ(commit.messages, std::vector<std::string>(c.message ? 1 : 0, "频率超出范围！"));
        EXPECT_FALSE(commit.next.has_value());
        Bytes expected = c.stored;
        // No tones, no transmit frequency, wide, high, scanned; bytes +14/+15 are not touched.
        expected.insert(expected.end(),
                        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x00, 0xAA, 0xBB});
        EXPECT_EQ(Record(kNewRow), expected);
        EXPECT_EQ(Cell(kNewRow, 1), c.shown);
        for (int col = 3; col <= 7; ++col)
            EXPECT_EQ(Cell(kNewRow, col),
                      (std::array<const char *, 5> {"无", "", "宽", "高", "添加"}[col - 3]));
    }
    EXPECT_FALSE(state.DataChanged);
    // What the grid shows is what a fresh decode of the image shows.
    ChannelCells decoded;
    AnalyseChInfo(state, decoded);
    EXPECT_EQ(decoded.Grid, state.ChannelView.Grid);
}

TEST_F(ChannelGrid, TransmitFrequencyUsesTheTransmitLimits)
{
    state.FreqAreas[0].TxLow = 144;
    state.FreqAreas[0].TxHigh = 148;
    const struct
    {
        const char *typed;
        Bytes stored;
        bool message;
    } cases[] = {
        {"146.52", {0x14, 0x65, 0x20, 0x00}, false},
        {"150", {0x14, 0x80, 0x00, 0x00}, true}, // band A transmits up to 148 only
        {".", {0x14, 0x40, 0x00, 0x00}, true},
        {"190", {0x14, 0x80, 0x00, 0x00}, true}, // in the gap above A: A's transmit limit
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        Put(state.Image, mm::ChannelRecord(2) + 4,
            {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x06, 0x23, 0x80});
        AnalyseChInfo(state, state.ChannelView);
        const EditorCommit commit = Type(2, 2, c.typed);
        EXPECT_EQ(commit.messages.size(), c.message ? 1U : 0U);
        EXPECT_EQ(Get(state.Image, mm::ChannelRecord(2) + 4, 4), c.stored);
        // The tone cell was empty: it shows "无" and the image holds no tone.
        EXPECT_EQ(Cell(2, 4), "无");
        EXPECT_EQ(Get(state.Image, mm::ChannelRecord(2) + 10, 2), (Bytes {0xFF, 0xFF}));
        EXPECT_EQ(Get(state.Image, mm::ChannelRecord(2) + 8, 2), (Bytes {0x00, 0x06}));
    }
}

// "." takes band A's lower limit; when that lies outside every band too (A's lower limit above its
// upper one), the edge below replaces it again and the user is told twice.
TEST_F(ChannelGrid, PointOutsideEveryBandGivesTwoMessages)
{
    state.FreqAreas[0].RxLow = 170;
    state.FreqAreas[0].RxHigh = 140;
    const EditorCommit commit = Type(kNewRow, 1, ".");
    EXPECT_EQ(commit.messages, std::vector<std::string>(2, "频率超出范围！"));
    EXPECT_EQ(commit.shownText, "140.00000");
}

TEST_F(ChannelGrid, EmptyTextDeletesTheChannelOrItsTransmitPart)
{
    Type(1, 2, "");
    EXPECT_EQ(Record(1),
              (Bytes {0x14, 0x51, 0x25, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x06, 0xFF, 0xFF, 0x85,
                      0x00, 0xAA, 0xBB}));
    EXPECT_EQ(Cell(1, 2), "");
    EXPECT_EQ(Cell(1, 4), "");
    EXPECT_EQ(Cell(1, 3), "67.0");

    Type(1, 1, "");
    EXPECT_EQ(Record(1), Bytes(16, 0xFF));
    for (int col = 1; col < kChannelCols; ++col)
        EXPECT_EQ(Cell(1, col), "");
    EXPECT_EQ(Cell(1, 0), "0");
}

TEST_F(ChannelGrid, TextThatIsNoNumberChangesNothing)
{
    const RadioImage before = state.Image;
    for (const char *pasted : {"abc", "1.2.3", "+145", "145 ", "1e2"}) {
        for (const CellRef cell : {CellRef {1, 1}, CellRef {1, 2}, CellRef {kNewRow, 1}}) {
            const std::string shown = Cell(cell.row, cell.col);
            const EditorCommit commit = Type(cell.row, cell.col, pasted);
            EXPECT_EQ(commit.shownText, shown) << pasted;
            EXPECT_EQ(Cell(cell.row, cell.col), shown) << pasted;
            EXPECT_TRUE(commit.messages.empty());
        }
    }
    EXPECT_EQ(state.Image, before);
}

TEST_F(ChannelGrid, SwitchesChangeTheirBitOnly)
{
    const struct
    {
        int col, item;
        std::uint8_t flags;
        const char *shown;
    } cases[] = {
        {5, 0, 0xA5, "窄"}, {5, 1, 0x85, "宽"},   {6, 1, 0x95, "低"},
        {6, 0, 0x85, "高"}, {7, 0, 0x81, "删除"}, {7, 1, 0x85, "添加"},
    };
    for (const auto &c : cases) {
        state.Image[mm::ChannelRecord(1) + mm::kChFlags] = 0x85;
        AnalyseChInfo(state, state.ChannelView);
        const EditorCommit commit = Choose(1, c.col, c.item);
        EXPECT_EQ(state.Image[mm::ChannelRecord(1) + mm::kChFlags], c.flags) << c.col << c.item;
        EXPECT_EQ(commit.shownText, c.shown);
        EXPECT_EQ(Cell(1, c.col), c.shown);
        EXPECT_FALSE(commit.next.has_value());
    }
}

// Each item of each flag column, chosen in the grid, reads back as that item everywhere the
// channel is read: a fresh decode of the grid, the field table (the only field named, no bit left
// unexplained), and both CSV layouts (exported, then imported over the image before the choice).
TEST_F(ChannelGrid, EveryFlagItemReadsBackTheSameInEveryConsumer)
{
    constexpr int kRow = 1;
    for (const ChannelColumnRow &column : kChannelColumns) {
        if (column.store != ChannelStore::Flag)
            continue;
        const int count = int(ChannelColumnItems(column).size());
        for (int item = 0; item < count; ++item) {
            const std::string chosen = ChannelColumnItems(column)[std::size_t(item)];
            SCOPED_TRACE(chosen);
            Choose(kRow, column.col, (item + 1) % count);
            const RadioImage before = state.Image;
            EXPECT_EQ(Choose(kRow, column.col, item).shownText, chosen);
            const RadioImage after = state.Image;

            AnalyseChInfo(state, state.ChannelView);
            EXPECT_EQ(Cell(kRow, column.col), chosen);

            const std::vector<FieldDifference> named = DiffStoredBytes(before, after);
            ASSERT_EQ(named.size(), 1u);
            EXPECT_FALSE(named[0].raw);
            EXPECT_EQ(named[0].b, chosen);
            EXPECT_TRUE(named[0].id.ends_with(column.id.substr(column.id.find('.'))));

            for (PlanLayout layout : {PlanLayout::Ours, PlanLayout::Common}) {
                const std::string csv
                    = ExportChannelPlan(ReadChannels(after, state.FreqAreas), layout);
                RadioImage imported = before;
                const ChannelPlan plan = ParseChannelPlan(csv, imported, state.FreqAreas);
                EXPECT_TRUE(plan.refused.empty()) << csv;
                ApplyChannelPlan(plan, imported, state.FreqAreas);
                // The common layout cannot name every tone of the other channels.
                const mm::Address r = mm::ChannelRecord(kRow);
                EXPECT_EQ(Get(imported, r, mm::kChannelRecordSize),
                          Get(after, r, mm::kChannelRecordSize))
                    << csv;
            }
        }
    }
}

TEST_F(ChannelGrid, OnlyAToneTheUserPicksIsWritten)
{
    // Leaving the list that opened on "无" over 60.0 Hz keeps the tone.
    const RadioImage before = state.Image;
    EXPECT_EQ(Choose(2, 3, std::nullopt).shownText, "60.0");
    EXPECT_EQ(Choose(1, 5, std::nullopt).shownText, "宽");
    EXPECT_EQ(Choose(1, 4, 999).shownText, "023N");
    EXPECT_EQ(state.Image, before);
    EXPECT_EQ(Cell(2, 3), "60.0");

    EXPECT_EQ(Choose(2, 3, 0).shownText, "无");
    EXPECT_EQ(Get(state.Image, mm::ChannelRecord(2) + 8, 2), (Bytes {0xFF, 0xFF}));
    EXPECT_EQ(Choose(1, 4, 260).shownText, "754I");
    EXPECT_EQ(Get(state.Image, mm::ChannelRecord(1) + 10, 2), (Bytes {0x54, 0xC7}));
    EXPECT_EQ(Choose(1, 3, 50).shownText, "254.1");
    EXPECT_EQ(Get(state.Image, mm::ChannelRecord(1) + 8, 2), (Bytes {0x41, 0x25}));
}

// ---- power-on message ----

struct MessageBoxes : testing::Test
{
    // A key typed into the open box, then placed and committed as the binder does.
    EditorCommit TypeKey(int box, KeyCode key, bool selected = true)
    {
        const EditorOpen open = editor.Open({0, box});
        const std::string text = state.PowerOnView.Boxes[box];
        const KeyDecision decision = editor.Key(open, {text, selected ? int(text.size()) : 0}, key);
        lastKey = decision;
        std::string placed = text;
        if (decision.key == kKeyBackspace)
            placed.clear();
        else if (decision.key >= 32)
            placed = std::string(1, char(decision.key));
        if (decision.key == kKeyNone)
            return {};
        return editor.Commit({placed, std::nullopt, decision.commit});
    }

    WindowState state;
    PowerOnEditor editor {state, state, state.PowerOnView};
    KeyDecision lastKey;
};

TEST_F(MessageBoxes, TypingRunsAlongTheBoxesAndWraps)
{
    EditorCommit commit = TypeKey(13, 'A');
    ASSERT_TRUE(commit.next.has_value());
    EXPECT_EQ(*commit.next, (CellRef {0, 14}));
    commit = TypeKey(commit.next->col, 'B');
    EXPECT_EQ(state.PowerOnMsg[13], 'A');
    EXPECT_EQ(state.PowerOnMsg[14], 'B');
    EXPECT_EQ(state.PowerOnView.Boxes[14], "B");
    EXPECT_TRUE(state.DataChanged);

    commit = TypeKey(55, '~');
    EXPECT_EQ(*commit.next, (CellRef {0, 0}));
    EXPECT_EQ(state.PowerOnMsg[55], '~');
    commit = TypeKey(7, kKeyEnter); // moves on without changing the box
    EXPECT_EQ(*commit.next, (CellRef {0, 8}));
    EXPECT_EQ(state.PowerOnMsg[7], defaults::kPowerOnMessage[0][7]);
}

TEST_F(MessageBoxes, KeysTheBoxesRefuse)
{
    const auto message = state.PowerOnMsg;
    for (KeyCode key : {KeyCode('x'), KeyCode(31), KeyCode(127), KeyCode(0x4E2D)}) {
        TypeKey(3, key, key != 'x'); // a full box with nothing selected takes no letter
        EXPECT_EQ(lastKey.key, kKeyNone) << key;
        EXPECT_FALSE(lastKey.commit);
    }
    EXPECT_FALSE(state.DataChanged);
    EXPECT_EQ(state.PowerOnMsg, message);

    // Enter sets DataChanged though nothing changed.
    TypeKey(3, kKeyEnter);
    EXPECT_TRUE(state.DataChanged);
    EXPECT_EQ(state.PowerOnMsg, message);
}

TEST_F(MessageBoxes, BackspaceStoresASpaceAndStays)
{
    const EditorCommit commit = TypeKey(20, kKeyBackspace);
    EXPECT_TRUE(state.DataChanged);
    EXPECT_FALSE(lastKey.commit);
    EXPECT_FALSE(commit.next.has_value());
    EXPECT_EQ(state.PowerOnMsg[20], ' ');
}

TEST_F(MessageBoxes, PastedCharacterOutsideAsciiIsRefused)
{
    const std::string before = state.PowerOnView.Boxes[2];
    for (const char *pasted : {"é", "\t", "\x7F"}) {
        editor.Open({0, 2});
        EXPECT_EQ(editor.Commit({pasted, std::nullopt, false}).shownText, before);
        EXPECT_EQ(state.PowerOnMsg[2], std::uint8_t(before[0]));
    }
    EXPECT_FALSE(state.DataChanged);
    editor.Open({0, 2});
    EXPECT_EQ(editor.Commit({"Q", std::nullopt, false}).shownText, "Q");
    EXPECT_TRUE(state.DataChanged); // a paste is an edit too
}

TEST_F(MessageBoxes, ApplyLeavesTheLastTwoBytesOfEachLine)
{
    for (int line = 0; line < mm::kPowerOnLines; ++line)
        Put(state.Image, mm::kPowerOnMsg + line * mm::kPowerOnLineStride + 14, {0x12, 0x34});
    for (int box = 0; box < kPowerOnBoxes; ++box)
        TypeKey(box, 'Z');
    state.Apply();
    for (int line = 0; line < mm::kPowerOnLines; ++line) {
        const mm::Address at = mm::kPowerOnMsg + line * mm::kPowerOnLineStride;
        EXPECT_EQ(Get(state.Image, at, 16),
                  Bytes({'Z', 'Z', 'Z', 'Z', 'Z', 'Z', 'Z', 'Z', 'Z', 'Z', 'Z', 'Z', 'Z', 'Z', 0x12,
                         0x34}));
    }
}

} // namespace
} // namespace nx5rb
