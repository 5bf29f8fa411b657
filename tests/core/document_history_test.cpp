// The steps undo keeps: a change taken back and forth restores the document byte for byte, from
// its first byte to its last, and a long history stays small.
#include "app/window_state.h"

#include <gtest/gtest.h>
#include <iostream>

namespace nx5rb {
namespace {

TEST(DocumentHistoryTest, AChangeGoesBackAndForthExactly)
{
    WindowState state;
    const DocumentSnapshot start = state.Snapshot();
    // The first and last bytes of the snapshot, a flag and a run that spans several parts.
    const std::vector<std::function<void(WindowState &)>> edits = {
        [](WindowState &s) { s.Image.front() ^= 0xFF; },
        [](WindowState &s) { s.TxEdgeCol.back() = 3; },
        [](WindowState &s) { s.DataChanged = !s.DataChanged; },
        [](WindowState &s) {
            s.Image.back() ^= 1;
            s.FreqAreas[0].RxLow += 1;
            s.PowerOnMsg[5] = 'X';
        },
    };
    for (std::size_t i = 0; i < edits.size(); ++i) {
        WindowState edited = state;
        edits[i](edited);
        edited.SyncedImage.fill(0x5A); // what the radio holds is no part of it
        const DocumentSnapshot after = edited.Snapshot();
        const std::optional<DocumentChange> change = DocumentChange::Between(start, after);
        ASSERT_TRUE(change) << i;
        DocumentSnapshot moved = after;
        change->Undo(moved);
        EXPECT_EQ(moved, start) << i;
        change->Redo(moved);
        EXPECT_EQ(moved, after) << i;
        edited.Restore(start);
        EXPECT_EQ(edited.Snapshot(), start) << i;
        EXPECT_EQ(edited.SyncedImage.front(), 0x5A) << i;
    }
    EXPECT_FALSE(DocumentChange::Between(start, state.Snapshot()));
}

TEST(DocumentHistoryTest, AThousandStepsStayWellUnderFiveMebibytes)
{
    WindowState state;
    DocumentSnapshot last = state.Snapshot();
    std::size_t bytes = 0;
    for (int step = 0; step < 1000; ++step) {
        // A tune value, then its band applied: the kind of step a technician takes most.
        state.TuneBuffer[std::size_t(step % 48)] = std::uint8_t(step);
        state.DataChanged = true;
        if (step % 10 == 9)
            state.Apply();
        const DocumentSnapshot now = state.Snapshot();
        bytes += DocumentChange::Between(last, now)->Bytes();
        last = now;
    }
    std::cout << "1000 steps hold " << bytes << " bytes (a snapshot is " << last.bytes.size()
              << ")\n";
    EXPECT_LT(bytes, std::size_t(5) << 20);
}

} // namespace
} // namespace nx5rb
