#include "editors/channel_columns.h"

#include "image/freq_codec.h"
#include "image/tone_codec.h"

namespace nx5rb {

namespace {

// Each column's bits are its own: no byte of a record is read by two columns through one bit, and
// every row sits at its place in the grid and inside the record.
constexpr bool RowsAreDisjoint()
{
    for (std::size_t i = 0; i < kChannelColumns.size(); ++i) {
        const ChannelColumnRow &row = kChannelColumns[i];
        if (row.col != ChannelColumn(i + 1) || row.size < 1
            || row.offset + row.size > mm::kChannelRecordSize)
            return false;
        for (std::size_t j = 0; j < i; ++j) {
            const ChannelColumnRow &other = kChannelColumns[j];
            const bool overlap
                = row.offset < other.offset + other.size && other.offset < row.offset + row.size;
            if (overlap && (row.bits & other.bits))
                return false;
        }
    }
    return true;
}
static_assert(RowsAreDisjoint());

} // namespace

std::string ReceiveFrequencyText(const ChannelColumnRow &, ConstChannelRecord record)
{
    return FreqFieldText(record.RxFrequencyField());
}

std::string TransmitFrequencyText(const ChannelColumnRow &, ConstChannelRecord record)
{
    return FreqFieldText(record.TxFrequencyField());
}

std::string ReceiveToneText(const ChannelColumnRow &, ConstChannelRecord record)
{
    return ToneFieldText(record.RxToneField());
}

std::string TransmitToneText(const ChannelColumnRow &, ConstChannelRecord record)
{
    return ToneFieldText(record.TxToneField());
}

std::string FlagText(const ChannelColumnRow &row, ConstChannelRecord record)
{
    return std::string(FlagItem(row, record.Flag(row.bits)));
}

const std::vector<std::string> &ChannelColumnItems(const ChannelColumnRow &row)
{
    static const std::vector<std::string> tones(QtList().begin(), QtList().end());
    static const std::array<std::vector<std::string>, kChannelColumns.size()> flagItems = [] {
        std::array<std::vector<std::string>, kChannelColumns.size()> items;
        for (std::size_t i = 0; i < kChannelColumns.size(); ++i)
            if (kChannelColumns[i].store == ChannelStore::Flag)
                items[i].assign(kChannelColumns[i].items.begin(), kChannelColumns[i].items.end());
        return items;
    }();
    if (row.store == ChannelStore::Tone)
        return tones;
    return flagItems[std::size_t(row.col - 1)];
}

std::string ChannelColumnText(const ChannelColumnRow &row, ConstChannelRecord record,
                              const FreqAreaTable &areas)
{
    if (!record.Exists(areas))
        return {};
    if (row.side == ChannelSide::Transmit && !record.TransmitExists(areas))
        return {};
    return row.shown(row, record);
}

std::optional<bool> CommonTextMeaning(const CommonMapping &mapping, std::string_view text)
{
    for (int i = 0; i < mapping.textCount; ++i)
        if (mapping.texts[std::size_t(i)].text == text)
            return mapping.texts[std::size_t(i)].set;
    return std::nullopt;
}

std::string_view CommonTextFor(const CommonMapping &mapping, bool set)
{
    for (int i = 0; i < mapping.textCount; ++i)
        if (mapping.texts[std::size_t(i)].set == set)
            return mapping.texts[std::size_t(i)].text;
    return {};
}

std::string CommonTextList(const CommonMapping &mapping)
{
    std::string list;
    for (int i = 0; i < mapping.textCount; ++i) {
        if (i > 0)
            list += i + 1 == mapping.textCount ? " or " : ", ";
        const std::string_view text = mapping.texts[std::size_t(i)].text;
        list += text.empty() ? std::string_view("\"\"") : text;
    }
    return list;
}

} // namespace nx5rb
