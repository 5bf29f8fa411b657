// What undo and redo work on: the document as bytes (the image, its file header and every working
// copy with DataChanged), the difference between two of those, and the name a change goes by in
// the history. What the radio or a file is known to hold is not part of it: an undo changes the
// document, never what was sent or saved.
#pragma once

#include "editors/document.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nx5rb {

// The document at one moment.
struct DocumentSnapshot
{
    std::vector<std::uint8_t> bytes;

    bool operator==(const DocumentSnapshot &) const = default;
};

// The working copies written into the image, as 应用 writes them (and as a save and the history
// see the document).
void EncodeWorkingCopies(Document &doc);

DocumentSnapshot SnapshotOf(const Document &doc);
// The snapshot's parts put back into `doc`; SyncedImage stays.
void RestoreInto(Document &doc, const DocumentSnapshot &snapshot);

// The bytes that differ between two snapshots, both ways: an undo step holds only these.
class DocumentChange
{
public:
    // Nothing when the two are equal.
    static std::optional<DocumentChange> Between(const DocumentSnapshot &before,
                                                 const DocumentSnapshot &after);
    // `snapshot` (the document after the change) taken back to before it, or the other way.
    void Undo(DocumentSnapshot &snapshot) const { Put(snapshot, 0); }
    void Redo(DocumentSnapshot &snapshot) const { Put(snapshot, 1); }
    // The memory the change holds.
    std::size_t Bytes() const;

private:
    struct Run
    {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    void Put(DocumentSnapshot &snapshot, int side) const;

    std::vector<Run> runs_;
    // Per run, its bytes before the change, then after it.
    std::vector<std::uint8_t> bytes_;
};

namespace history_text {
inline constexpr std::string_view kApply = "应用";
inline constexpr std::string_view kDiscard = "放弃修改";
inline constexpr std::string_view kEdit = "修改";
// "导入信道表 (24 个信道)"
inline constexpr std::string_view kImportStart = "导入信道表 (";
inline constexpr std::string_view kImportEnd = " 个信道)";
inline constexpr std::string_view kUndo = "撤销";
inline constexpr std::string_view kRedo = "重做";
} // namespace history_text

// The name of the change from `before` to `after` as the history shows it: the first field whose
// value changed once both documents' working copies are applied ("信道 5 接收频率", "频段-A 灵敏度
// 点 3", "工作频段"); "导入信道表 (24 个信道)" when several channels changed at once; "应用" when
// only the working copies went into the image; "放弃修改" when they were dropped.
std::string ChangeName(const DocumentSnapshot &before, const DocumentSnapshot &after);

} // namespace nx5rb
