#include "editors/channel_plan.h"

#include "editors/channel_plan_fields.h"
#include "editors/channel_plan_rows.h"
#include "editors/channel_view.h"
#include "editors/csv_text.h"
#include "image/freq_codec.h"
#include "image/tone_codec.h"

#include <algorithm>
#include <set>
#include <utility>

namespace nx5rb {

namespace {

using namespace plan;

// Cross-band pairs are written as "split"; repeater offsets stay below this.
constexpr std::int64_t kSplitFrom10Hz = 70 * 100000;

// Every column the table maps to one column of the common layout has that column in the header.
constexpr bool CommonColumnsInHeader()
{
    for (const ChannelColumnRow &column : kChannelColumns)
        if (!column.common.column.empty()
            && std::find(common::kHeader.begin(), common::kHeader.end(), column.common.column)
                == common::kHeader.end())
            return false;
    return true;
}
static_assert(CommonColumnsInHeader());

// The record an entry stands for, in a scratch image that lives as long as the thread.
ConstChannelRecord EntryRecord(const ChannelEntry &entry)
{
    thread_local RadioImage scratch {};
    const mm::Address r = mm::ChannelRecord(1);
    Erase(scratch, r, mm::kChannelRecordSize);
    StoreFreq(scratch, r + mm::kChRxFreq, entry.rxFreq);
    StoreTone(scratch, r + mm::kChRxTone, entry.rxTone);
    if (entry.txFreq) {
        StoreFreq(scratch, r + mm::kChTxFreq, *entry.txFreq);
        StoreTone(scratch, r + mm::kChTxTone, entry.txTone);
    }
    scratch[r + mm::kChFlags] = entry.flags;
    return ChannelAt(std::as_const(scratch), 1);
}

// Every cell as the grid shows the channel.
std::vector<std::string> OursRow(const ChannelEntry &entry)
{
    const ConstChannelRecord record = EntryRecord(entry);
    std::vector<std::string> row(kChannelCols);
    row[kColNumber] = std::to_string(entry.number);
    for (const ChannelColumnRow &column : kChannelColumns)
        if (ColumnShows(column, entry.txFreq.has_value()))
            row[std::size_t(column.col)] = column.shown(column, record);
    return row;
}

// A tone as the common layout names it.
struct CommonTone
{
    enum Kind { None, Tone, Dtcs, Unlisted } kind = None;
    std::string value; // "88.5", "023"
    char polarity = 'N';
    std::string text; // the grid's text, for a report
};

CommonTone ToCommonTone(ToneCode code)
{
    CommonTone tone;
    tone.text = ToneText(code);
    const std::optional<int> index = ListedIndex(tone.text);
    if (!index)
        tone.kind = CommonTone::Unlisted;
    else if (*index == 0)
        tone.kind = CommonTone::None;
    else if (*index < kQtFirstDcsNormal)
        tone.kind = CommonTone::Tone;
    else
        tone.kind = CommonTone::Dtcs;
    if (tone.kind == CommonTone::Tone)
        tone.value = tone.text;
    if (tone.kind == CommonTone::Dtcs) {
        tone.value = tone.text.substr(0, 3);
        tone.polarity = *index >= kQtFirstDcsInverted ? 'R' : 'N';
    }
    return tone;
}

// The side of a cross tone mode: "Tone", "DTCS" or nothing.
std::string_view CrossSide(const CommonTone &tone)
{
    return tone.kind == CommonTone::Tone ? "Tone" : tone.kind == CommonTone::Dtcs ? "DTCS" : "";
}

std::vector<std::string> CommonRow(const ChannelEntry &entry, std::vector<ExportLoss> *losses)
{
    using namespace common;
    std::vector<std::string> row(kHeader.size());
    const auto set = [&](std::string_view column, std::string value) {
        row[std::size_t(std::find(kHeader.begin(), kHeader.end(), column) - kHeader.begin())]
            = std::move(value);
    };
    set(kLocation, std::to_string(entry.number));
    set(kFrequency, FixedText(std::int64_t(entry.rxFreq) * kHzPerStep, kMHzDecimals, false));
    std::int64_t offset = 0;
    if (!entry.txFreq) {
        set(kDuplex, "off");
    } else if (*entry.txFreq != entry.rxFreq) {
        const std::int64_t difference = std::int64_t(*entry.txFreq) - entry.rxFreq;
        if (difference >= kSplitFrom10Hz || -difference >= kSplitFrom10Hz) {
            set(kDuplex, "split");
            offset = *entry.txFreq;
        } else {
            set(kDuplex, difference > 0 ? "+" : "-");
            offset = difference > 0 ? difference : -difference;
        }
    }
    set(kOffset, FixedText(offset * kHzPerStep, kMHzDecimals, false));

    // A tone outside the tone list has no name in this layout: that side is written as no tone.
    CommonTone tx = entry.txFreq ? ToCommonTone(entry.txTone) : CommonTone();
    CommonTone rx = ToCommonTone(entry.rxTone);
    for (auto [tone, side] : {std::pair {&tx, "transmit"}, std::pair {&rx, "receive"}})
        if (tone->kind == CommonTone::Unlisted) {
            if (losses)
                losses->push_back({entry.number, std::string(side) + " tone " + tone->text});
            *tone = CommonTone();
        }
    std::string mode;
    std::string crossMode(kDefaultCrossMode);
    std::string rTone(kDefaultTone);
    std::string cTone(kDefaultTone);
    std::string dtcs(kDefaultDtcs);
    std::string rxDtcs(kDefaultDtcs);
    const std::string polarity = {tx.polarity, rx.polarity};
    if (tx.kind == CommonTone::None && rx.kind == CommonTone::None) {
        // no tones: the defaults above
    } else if (tx.kind == CommonTone::Tone && rx.kind == CommonTone::None) {
        mode = "Tone";
        rTone = tx.value;
    } else if (tx.kind == CommonTone::Tone && rx.kind == CommonTone::Tone && tx.value == rx.value) {
        mode = "TSQL";
        cTone = tx.value;
    } else if (tx.kind == CommonTone::Dtcs && rx.kind == CommonTone::Dtcs && tx.value == rx.value) {
        mode = "DTCS";
        dtcs = tx.value;
    } else {
        // Any other pair: the transmit side in rToneFreq or DtcsCode, the receive side in
        // cToneFreq or RxDtcsCode.
        mode = "Cross";
        crossMode = std::string(CrossSide(tx)) + "->" + std::string(CrossSide(rx));
        if (tx.kind == CommonTone::Tone)
            rTone = tx.value;
        if (tx.kind == CommonTone::Dtcs)
            dtcs = tx.value;
        if (rx.kind == CommonTone::Tone)
            cTone = rx.value;
        if (rx.kind == CommonTone::Dtcs)
            rxDtcs = rx.value;
    }
    set(kTone, mode);
    set(kRTone, rTone);
    set(kCTone, cTone);
    set(kDtcs, dtcs);
    set(kPolarity, polarity);
    set(kRxDtcs, rxDtcs);
    set(kCrossMode, crossMode);
    set(kStep, std::string(kDefaultStep));
    for (const ChannelColumnRow &column : kChannelColumns)
        if (!column.common.column.empty())
            set(column.common.column,
                std::string(CommonTextFor(column.common, entry.flags & column.bits)));
    return row;
}

// Writes one channel as the grid would leave it: a channel that does not exist yet is created
// (byte +13 = 00, no transmit frequency left over); the other bytes of an existing one stay.
void WriteChannel(const ChannelEntry &entry, RadioImage &image, const FreqAreaTable &areas)
{
    const mm::Address r = mm::ChannelRecord(entry.number + 1);
    if (!JudgeFreqVaid(image, areas, r + mm::kChRxFreq, true)) {
        Erase(image, r + mm::kChTxFreq, mm::kFreqFieldSize);
        Erase(image, r + mm::kChTxTone, mm::kToneFieldSize);
        image[r + mm::kChReserved] = 0x00;
    }
    StoreFreq(image, r + mm::kChRxFreq, entry.rxFreq);
    StoreTone(image, r + mm::kChRxTone, entry.rxTone);
    if (entry.txFreq) {
        StoreFreq(image, r + mm::kChTxFreq, *entry.txFreq);
        StoreTone(image, r + mm::kChTxTone, entry.txTone);
    } else if (JudgeFreqVaid(image, areas, r + mm::kChTxFreq, false)) {
        Erase(image, r + mm::kChTxFreq, mm::kFreqFieldSize);
        Erase(image, r + mm::kChTxTone, mm::kToneFieldSize);
    }
    image[r + mm::kChFlags] = entry.flags;
}

// Reads the header; nothing (and the reason in `plan`) when the file cannot be a plan.
std::optional<PlanLayout> ReadHeader(const CsvRecord &head, std::vector<std::string> &header,
                                     ChannelPlan &plan)
{
    for (const std::string &field : head.fields)
        header.emplace_back(Trimmed(field));
    const auto has = [&](std::string_view name) { return ColumnIndex(header, name) >= 0; };
    std::vector<std::string_view> required;
    PlanLayout layout = PlanLayout::Ours;
    if (has(channel_text::kCaption[kColNumber])) {
        required.assign(channel_text::kCaption.begin(), channel_text::kCaption.end());
    } else if (has(common::kLocation)) {
        layout = PlanLayout::Common;
        required = {common::kLocation, common::kFrequency};
    } else {
        plan.refused.push_back({head.line, PlanProblem::NotAPlan, {}, {}, {}});
        return std::nullopt;
    }
    for (std::string_view name : required)
        if (!has(name)) {
            plan.refused.push_back(
                {head.line, PlanProblem::MissingColumn, std::string(name), {}, {}});
            return std::nullopt;
        }
    return layout;
}

} // namespace

std::vector<ChannelEntry> ReadChannels(const RadioImage &image, const FreqAreaTable &areas)
{
    std::vector<ChannelEntry> channels;
    for (int channel = 1; channel <= mm::kChannelCount; ++channel) {
        const mm::Address r = mm::ChannelRecord(channel);
        if (!JudgeFreqVaid(image, areas, r + mm::kChRxFreq, true))
            continue;
        ChannelEntry entry;
        entry.number = channel - 1;
        entry.rxFreq = FreqOf(image, r + mm::kChRxFreq);
        entry.rxTone = ToneAt(image, r + mm::kChRxTone);
        if (JudgeFreqVaid(image, areas, r + mm::kChTxFreq, false)) {
            entry.txFreq = FreqOf(image, r + mm::kChTxFreq);
            entry.txTone = ToneAt(image, r + mm::kChTxTone);
        }
        entry.flags = image[r + mm::kChFlags];
        channels.push_back(entry);
    }
    return channels;
}

std::string ExportChannelPlan(const std::vector<ChannelEntry> &channels, PlanLayout layout,
                              std::vector<ExportLoss> *losses)
{
    std::string csv;
    if (layout == PlanLayout::Ours)
        csv = std::string(kUtf8ByteOrderMark)
            + CsvLine({channel_text::kCaption.begin(), channel_text::kCaption.end()});
    else
        csv = CsvLine({common::kHeader.begin(), common::kHeader.end()});
    for (const ChannelEntry &entry : channels)
        csv += CsvLine(layout == PlanLayout::Ours ? OursRow(entry) : CommonRow(entry, losses));
    return csv;
}

std::string IssueText(const PlanIssue &issue)
{
    const std::string field = issue.column + " \"" + issue.value + "\": ";
    switch (issue.problem) {
    case PlanProblem::NotText:
        return "not a channel plan: the text is neither UTF-8 nor GB18030 (GBK)";
    case PlanProblem::NotAPlan:
        return "not a channel plan: the first line is neither header";
    case PlanProblem::MissingColumn:
        return "the header has no column " + issue.column;
    case PlanProblem::UnclosedQuote:
        return "a quoted field is not closed";
    case PlanProblem::BadField:
        return field + issue.detail;
    case PlanProblem::ChannelTwice:
        return field + "the channel is already on line " + issue.detail;
    case PlanProblem::OutsideBands:
        return field + issue.detail;
    case PlanProblem::ToneNotListed:
        return field + "not in the tone list";
    case PlanProblem::ToneWithoutTx:
        return field + "a transmit tone without a transmit frequency";
    case PlanProblem::Snapped:
        return field + "moved to the channel raster, " + issue.detail;
    }
    return field;
}

ChannelPlan ParseChannelPlan(std::string_view bytes, const RadioImage &image,
                             const FreqAreaTable &areas, bool replaceAll)
{
    ChannelPlan plan;
    plan.replaceAll = replaceAll;
    const std::optional<std::string> csv = CsvTextAsUtf8(bytes);
    if (!csv) {
        plan.refused.push_back({1, PlanProblem::NotText, {}, {}, {}});
        return plan;
    }
    const std::vector<CsvRecord> records = ReadCsv(*csv);
    if (records.empty()) {
        plan.refused.push_back({1, PlanProblem::NotAPlan, {}, {}, {}});
        return plan;
    }
    ParseContext context {PlanLayout::Ours, {}, {}, areas, {}, std::nullopt};
    const std::optional<PlanLayout> layout = ReadHeader(records.front(), context.header, plan);
    if (!layout)
        return plan;
    context.layout = *layout;
    IndexColumns(context);
    for (const ChannelEntry &entry : ReadChannels(image, areas))
        context.existing[entry.number] = entry;
    if (context.layout == PlanLayout::Common) {
        std::set<std::int64_t> wattages;
        const auto level
            = std::find_if(kChannelColumns.begin(), kChannelColumns.end(), [](const auto &column) {
                  return column.common.rule == CommonRule::PowerLevel;
              });
        const int power = level == kChannelColumns.end()
            ? -1
            : ColumnIndex(context.header, level->common.column);
        for (std::size_t i = 1; i < records.size(); ++i)
            if (power >= 0 && std::size_t(power) < records[i].fields.size())
                if (const auto milliwatts = Milliwatts(Trimmed(records[i].fields[power])))
                    wattages.insert(*milliwatts);
        if (wattages.size() > 1)
            context.lowestWattage = *wattages.begin();
    }

    std::array<int, mm::kChannelCount> firstLine {};
    for (std::size_t i = 1; i < records.size(); ++i) {
        const CsvRecord &record = records[i];
        if (record.unclosedQuote) {
            plan.refused.push_back({record.line, PlanProblem::UnclosedQuote, {}, {}, {}});
            continue;
        }
        RowParser row(context, record);
        std::optional<int> number = row.Number();
        if (number && firstLine[*number] != 0) {
            const std::string column(context.layout == PlanLayout::Ours
                                         ? channel_text::kCaption[kColNumber]
                                         : common::kLocation);
            row.error = PlanIssue {record.line, PlanProblem::ChannelTwice, column,
                                   std::to_string(*number), std::to_string(firstLine[*number])};
            number.reset();
        } else if (number) {
            firstLine[*number] = record.line;
            plan.named[*number] = true;
        }
        const std::optional<ChannelEntry> entry = !number ? std::nullopt
            : context.layout == PlanLayout::Ours          ? row.Ours(*number)
                                                          : row.Common(*number);
        if (!entry) {
            plan.refused.push_back(
                row.error.value_or(PlanIssue {record.line, PlanProblem::BadField, {}, {}, {}}));
            continue;
        }
        plan.good.push_back({record.line, *entry});
        plan.warnings.insert(plan.warnings.end(), row.warnings.begin(), row.warnings.end());
    }
    plan.layout = context.layout;

    RadioImage after = image;
    ApplyChannelPlan(plan, after, areas);
    for (int number = 0; number < mm::kChannelCount; ++number) {
        const auto record = after.begin() + mm::ChannelRecord(number + 1);
        if (context.existing[number]
            && !std::equal(record, record + mm::kChannelRecordSize,
                           image.begin() + mm::ChannelRecord(number + 1)))
            ++plan.overwritten;
    }
    return plan;
}

void ApplyChannelPlan(const ChannelPlan &plan, RadioImage &image, const FreqAreaTable &areas)
{
    if (!plan.layout)
        return;
    if (plan.replaceAll)
        for (int number = 0; number < mm::kChannelCount; ++number)
            if (!plan.named[number])
                Erase(image, mm::ChannelRecord(number + 1), mm::kChannelRecordSize);
    for (const PlannedChannel &row : plan.good)
        WriteChannel(row.entry, image, areas);
}

} // namespace nx5rb
