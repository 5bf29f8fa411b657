#include "app/document_history.h"

#include "editors/field_table.h"
#include "editors/freq_area_view.h"
#include "editors/modulation_view.h"
#include "editors/power_on_view.h"
#include "editors/tune_table_view.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <type_traits>

namespace nx5rb {

namespace {

// Differences closer than this share one run: a run's own bookkeeping costs about as much.
constexpr std::size_t kRunGap = 8;

// Every part of the document a snapshot holds, in its order.
template<typename Doc, typename Part>
void ForEachPart(Doc &doc, Part part)
{
    part(doc.Image);
    part(doc.FileHeader);
    part(doc.DataChanged);
    part(doc.FreqAreas);
    part(doc.WorkBandsCode);
    part(doc.WorkChannel);
    part(doc.TuneBuffer);
    part(doc.ModulationRecords);
    part(doc.MaxOffset);
    part(doc.PowerOnMsg);
    part(doc.RxEdgeStale);
    part(doc.TxEdgeStale);
    part(doc.RxEdgeCol);
    part(doc.TxEdgeCol);
}

template<typename T>
constexpr void CheckPart()
{
    static_assert(std::is_trivially_copyable_v<T> && std::has_unique_object_representations_v<T>,
                  "a snapshot copies each part's bytes");
}

Document DocumentOf(const DocumentSnapshot &snapshot)
{
    Document doc;
    RestoreInto(doc, snapshot);
    return doc;
}

// The image a save would write from this document: its working copies applied.
RadioImage AppliedImage(Document doc)
{
    EncodeWorkingCopies(doc);
    return doc.Image;
}

} // namespace

void EncodeWorkingCopies(Document &doc)
{
    EncodeFreqAreas(doc);
    EncodeTuneBuffer(doc);
    EncodeModulation(doc);
    EncodePowerOnMsg(doc);
}

DocumentSnapshot SnapshotOf(const Document &doc)
{
    DocumentSnapshot snapshot;
    ForEachPart(doc, [&snapshot](const auto &part) {
        CheckPart<std::remove_cvref_t<decltype(part)>>();
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(&part);
        snapshot.bytes.insert(snapshot.bytes.end(), bytes, bytes + sizeof(part));
    });
    return snapshot;
}

void RestoreInto(Document &doc, const DocumentSnapshot &snapshot)
{
    std::size_t offset = 0;
    ForEachPart(doc, [&](auto &part) {
        if (offset + sizeof(part) <= snapshot.bytes.size())
            std::memcpy(&part, snapshot.bytes.data() + offset, sizeof(part));
        offset += sizeof(part);
    });
}

std::optional<DocumentChange> DocumentChange::Between(const DocumentSnapshot &before,
                                                      const DocumentSnapshot &after)
{
    const std::vector<std::uint8_t> &a = before.bytes;
    const std::vector<std::uint8_t> &b = after.bytes;
    if (a == b)
        return std::nullopt;
    DocumentChange change;
    std::size_t i = 0;
    while (i < std::min(a.size(), b.size())) {
        if (a[i] == b[i]) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        for (std::size_t j = end; j < std::min(a.size(), b.size()) && j < end + kRunGap; ++j)
            if (a[j] != b[j])
                end = j + 1;
        change.runs_.push_back({std::uint32_t(i), std::uint32_t(end - i)});
        change.bytes_.insert(change.bytes_.end(), a.begin() + long(i), a.begin() + long(end));
        change.bytes_.insert(change.bytes_.end(), b.begin() + long(i), b.begin() + long(end));
        i = end;
    }
    change.runs_.shrink_to_fit();
    change.bytes_.shrink_to_fit();
    return change;
}

void DocumentChange::Put(DocumentSnapshot &snapshot, int side) const
{
    std::size_t at = 0;
    for (const Run &run : runs_) {
        if (run.offset + run.length <= snapshot.bytes.size())
            std::copy_n(bytes_.begin() + long(at + side * run.length), run.length,
                        snapshot.bytes.begin() + run.offset);
        at += 2 * std::size_t(run.length);
    }
}

std::size_t DocumentChange::Bytes() const
{
    return sizeof(*this) + runs_.capacity() * sizeof(Run) + bytes_.capacity();
}

std::string ChangeName(const DocumentSnapshot &before, const DocumentSnapshot &after)
{
    const Document a = DocumentOf(before);
    const Document b = DocumentOf(after);
    const RadioImage appliedA = AppliedImage(a);
    // The edits went into the image, or were dropped.
    if (a.DataChanged && !b.DataChanged) {
        if (b.Image == a.Image)
            return std::string(history_text::kDiscard);
        if (b.Image == appliedA)
            return std::string(history_text::kApply);
    }
    const std::vector<FieldDifference> changed = DiffStoredBytes(appliedA, AppliedImage(b));
    std::set<mm::Address> channels;
    for (const FieldDifference &field : changed)
        if (field.page == FieldPage::Channels)
            channels.insert(mm::Address(field.address / mm::kBlockSize));
    if (channels.size() > 1)
        return std::string(history_text::kImportStart) + std::to_string(channels.size())
            + std::string(history_text::kImportEnd);
    const auto named = std::find_if(changed.begin(), changed.end(),
                                    [](const FieldDifference &field) { return !field.raw; });
    if (named != changed.end())
        return named->name;
    // A list choice alone applied: the same document once applied, another image.
    return std::string(changed.empty() && a.Image != b.Image ? history_text::kApply
                                                             : history_text::kEdit);
}

} // namespace nx5rb
