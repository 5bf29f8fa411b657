#include "editors/channel_plan_rows.h"

#include "editors/channel_editor.h"
#include "editors/channel_view.h"
#include "image/tone_codec.h"

#include <algorithm>

namespace nx5rb::plan {

namespace {

bool InsideBand(std::int64_t hz, const FreqAreaTable &areas, bool receive)
{
    for (const FreqArea &area : areas) {
        const std::int64_t low = receive ? area.RxLow : area.TxLow;
        const std::int64_t high = receive ? area.RxHigh : area.TxHigh;
        if (low * kHzPerMHz <= hz && hz <= high * kHzPerMHz)
            return true;
    }
    return false;
}

} // namespace

int ColumnIndex(const std::vector<std::string> &header, std::string_view name)
{
    const auto match = std::find(header.begin(), header.end(), name);
    return match == header.end() ? -1 : int(match - header.begin());
}

void IndexColumns(ParseContext &context)
{
    using namespace common;
    context.columns.clear();
    const auto add = [&](std::string_view name) {
        if (const int index = ColumnIndex(context.header, name); index >= 0)
            context.columns.emplace_back(name, index);
    };
    if (context.layout == PlanLayout::Ours) {
        for (std::string_view caption : channel_text::kCaption)
            add(caption);
        return;
    }
    for (std::string_view name : {kLocation, kFrequency, kDuplex, kOffset, kTone, kRTone, kCTone,
                                  kDtcs, kPolarity, kRxDtcs, kCrossMode})
        add(name);
    for (const ChannelColumnRow &column : kChannelColumns)
        if (!column.common.column.empty())
            add(column.common.column);
}

std::optional<std::int64_t> Milliwatts(std::string_view text)
{
    if (text.empty() || (text.back() != 'W' && text.back() != 'w'))
        return std::nullopt;
    return ParseFixed(Trimmed(text.substr(0, text.size() - 1)), 3);
}

std::optional<int> RowParser::Number()
{
    const std::string_view column = context_.layout == PlanLayout::Ours
        ? channel_text::kCaption[kColNumber]
        : common::kLocation;
    const std::string_view text = Field(column);
    const std::optional<std::int64_t> number = ParseFixed(text, 0);
    if (!number || *number >= mm::kChannelCount)
        return Fail(PlanProblem::BadField, column, text, "expected a channel number 0-127");
    return int(*number);
}

std::optional<std::int32_t> RowParser::Frequency(std::string_view column, std::string_view text,
                                                 bool receive)
{
    const std::optional<std::int64_t> hz = ParseFixed(text, kMHzDecimals);
    if (!hz)
        return Fail(PlanProblem::BadField, column, text, "expected a frequency in MHz");
    return Placed(column, text, *hz, receive);
}

std::optional<std::int32_t> RowParser::Placed(std::string_view column, std::string_view text,
                                              std::int64_t hz, bool receive)
{
    const auto outside = [&] {
        return Fail(PlanProblem::OutsideBands, column, text,
                    FixedText(hz, kMHzDecimals, true) + " MHz is outside every band's "
                        + (receive ? "receive" : "transmit") + " limits");
    };
    if (!InsideBand(hz, context_.areas, receive))
        return outside();
    // The grid's own snap, on the exact decimal text of the value.
    const std::optional<std::string> snapped = SnapToRaster(FixedText(hz, kMHzDecimals, true));
    const std::optional<std::int64_t> stored
        = snapped ? ParseFixed(*snapped, kStoredDecimals) : std::nullopt;
    if (!stored || !InsideBand(*stored * kHzPerStep, context_.areas, receive))
        return outside();
    if (*stored * kHzPerStep != hz)
        warnings.push_back({record_.line, PlanProblem::Snapped, std::string(column),
                            std::string(text),
                            "stored as " + FixedText(*stored, kStoredDecimals, false)});
    return std::int32_t(*stored);
}

std::optional<ToneCode> RowParser::Listed(std::string_view column, std::string_view text)
{
    if (const std::optional<int> index = ListedIndex(text))
        return ToneOf(*index);
    return Fail(PlanProblem::ToneNotListed, column, text);
}

std::optional<ToneCode> RowParser::Ctcss(std::string_view column)
{
    const std::string_view text = Field(column, common::kDefaultTone);
    const std::optional<std::int64_t> tenths = ParseFixed(text, 1);
    if (!tenths)
        return Fail(PlanProblem::BadField, column, text, "expected a tone in Hz");
    for (int index = kQtFirstCtcss; index < kQtFirstDcsNormal; ++index)
        if (ParseFixed(QtList()[index], 1) == tenths)
            return ToneOf(index);
    return Fail(PlanProblem::ToneNotListed, column, text);
}

std::optional<ToneCode> RowParser::Dtcs(std::string_view column, char polarity)
{
    const std::string_view text = Field(column, Field(common::kDtcs, common::kDefaultDtcs));
    const std::optional<std::int64_t> code
        = text.size() <= 3 && AllDigits(text) ? ParseFixed(text, 0) : std::nullopt;
    if (!code)
        return Fail(PlanProblem::BadField, column, text, "expected a DCS code");
    for (int index = kQtFirstDcsNormal; index < kQtFirstDcsInverted; ++index)
        if (ParseFixed(std::string_view(QtList()[index]).substr(0, 3), 0) == code)
            return ToneOf(polarity == 'R' ? index + (kQtFirstDcsInverted - kQtFirstDcsNormal)
                                          : index);
    return Fail(PlanProblem::ToneNotListed, column, text);
}

std::optional<bool> RowParser::Choice(std::string_view column, std::string_view yes,
                                      std::string_view no)
{
    const std::string_view text = Field(column);
    if (text == yes)
        return true;
    if (text == no)
        return false;
    return Fail(PlanProblem::BadField, column, text,
                "expected " + std::string(yes) + " or " + std::string(no));
}

bool RowParser::LowPower(std::string_view column) const
{
    const std::string_view text = Field(column);
    if (SameLetters(text, "Low") || SameLetters(text, "L"))
        return true;
    const std::optional<std::int64_t> milliwatts = Milliwatts(text);
    return milliwatts && milliwatts == context_.lowestWattage;
}

std::optional<ChannelEntry> RowParser::Ours(int number)
{
    using channel_text::kCaption;
    const std::optional<ChannelEntry> &now = context_.existing[number];
    ChannelEntry entry;
    entry.number = number;
    entry.flags = now ? now->flags : kNewChannelFlags;

    // A field that shows what the channel shows now is left as the record holds it.
    const std::string_view rxText = Field(kCaption[kColRxFreq]);
    if (now && rxText == FreqText(now->rxFreq)) {
        entry.rxFreq = now->rxFreq;
    } else if (const auto rx = Frequency(kCaption[kColRxFreq], rxText, true)) {
        entry.rxFreq = *rx;
    } else {
        return std::nullopt;
    }

    const std::string_view txText = Field(kCaption[kColTxFreq]);
    const std::string nowTx = now && now->txFreq ? FreqText(*now->txFreq) : std::string();
    if (now && txText == nowTx) {
        entry.txFreq = now->txFreq;
    } else if (!txText.empty()) {
        const auto tx = Frequency(kCaption[kColTxFreq], txText, false);
        if (!tx)
            return std::nullopt;
        entry.txFreq = *tx;
    }

    // An empty tone cell is no tone, as a spreadsheet user who clears a cell means it (unless the
    // channel shows an empty cell now: a tone of no known kind).
    const std::string_view rxToneText = Field(kCaption[kColRxTone]);
    if (now && rxToneText == ToneText(now->rxTone)) {
        entry.rxTone = now->rxTone;
    } else if (const auto tone
               = Listed(kCaption[kColRxTone], rxToneText.empty() ? kNoTone : rxToneText)) {
        entry.rxTone = *tone;
    } else {
        return std::nullopt;
    }

    const std::string_view txToneText = Field(kCaption[kColTxTone]);
    if (!entry.txFreq) {
        if (!txToneText.empty())
            return Fail(PlanProblem::ToneWithoutTx, kCaption[kColTxTone], txToneText);
    } else if (now && now->txFreq && txToneText == ToneText(now->txTone)) {
        entry.txTone = now->txTone;
    } else if (const auto tone
               = Listed(kCaption[kColTxTone], txToneText.empty() ? kNoTone : txToneText)) {
        entry.txTone = *tone;
    } else {
        return std::nullopt;
    }

    // A flag column's cell is one of its list's two texts.
    for (const ChannelColumnRow &column : kChannelColumns) {
        if (column.store != ChannelStore::Flag)
            continue;
        const std::optional<bool> set
            = Choice(column.caption, FlagItem(column, true), FlagItem(column, false));
        if (!set)
            return std::nullopt;
        entry.flags = WithBit(entry.flags, column.bits, *set);
    }
    return entry;
}

std::optional<ChannelEntry> RowParser::Common(int number)
{
    using namespace common;
    const std::optional<ChannelEntry> &now = context_.existing[number];
    ChannelEntry entry;
    entry.number = number;
    entry.flags = now ? now->flags : kNewChannelFlags;

    const std::string_view rxText = Field(kFrequency);
    const std::optional<std::int64_t> rxHz = ParseFixed(rxText, kMHzDecimals);
    if (!rxHz)
        return Fail(PlanProblem::BadField, kFrequency, rxText, "expected a frequency in MHz");
    const std::optional<std::int32_t> rx = Placed(kFrequency, rxText, *rxHz, true);
    if (!rx)
        return std::nullopt;
    entry.rxFreq = *rx;

    const std::string_view duplex = Field(kDuplex);
    if (duplex.empty()) {
        // The receive frequency again: its snap is reported once.
        const std::size_t reported = warnings.size();
        entry.txFreq = Placed(kFrequency, rxText, *rxHz, false);
        warnings.resize(reported);
    } else if (duplex == "+" || duplex == "-" || SameLetters(duplex, "split")) {
        const std::string_view offsetText = Field(kOffset, "0");
        const std::optional<std::int64_t> offset = ParseFixed(offsetText, kMHzDecimals);
        if (!offset)
            return Fail(PlanProblem::BadField, kOffset, offsetText, "expected a frequency in MHz");
        const std::int64_t txHz = duplex == "+" ? *rxHz + *offset
            : duplex == "-"                     ? *rxHz - *offset
                                                : *offset;
        entry.txFreq = Placed(kOffset, offsetText, txHz, false);
    } else if (!SameLetters(duplex, "off")) {
        return Fail(PlanProblem::BadField, kDuplex, duplex, "expected \"\", +, -, split or off");
    }
    if (error)
        return std::nullopt;

    // Each side of the tone pair: none, a CTCSS tone or a DCS code.
    const std::string_view mode = Field(kTone);
    std::string_view txSide;
    std::string_view rxSide;
    bool cross = false;
    if (mode == "Tone") {
        txSide = "Tone";
    } else if (mode == "TSQL") {
        txSide = rxSide = "TSQL";
    } else if (mode == "DTCS") {
        txSide = rxSide = "DTCS";
    } else if (mode == "Cross") {
        const std::string_view crossMode = Field(kCrossMode, kDefaultCrossMode);
        if (std::find(kCrossModes.begin(), kCrossModes.end(), crossMode) == kCrossModes.end())
            return Fail(PlanProblem::BadField, kCrossMode, crossMode, "expected a cross mode");
        const std::size_t arrow = crossMode.find("->");
        txSide = crossMode.substr(0, arrow);
        rxSide = crossMode.substr(arrow + 2);
        cross = true;
    } else if (!mode.empty()) {
        return Fail(PlanProblem::BadField, kTone, mode, "expected \"\", Tone, TSQL, DTCS or Cross");
    }
    const std::string_view polarity = Field(kPolarity, kDefaultPolarity);
    const bool dcs = txSide == "DTCS" || rxSide == "DTCS";
    if (dcs
        && (polarity.size() != 2 || (polarity[0] != 'N' && polarity[0] != 'R')
            || (polarity[1] != 'N' && polarity[1] != 'R')))
        return Fail(PlanProblem::BadField, kPolarity, polarity, "expected NN, NR, RN or RR");

    std::optional<ToneCode> txTone = ToneCode();
    std::optional<ToneCode> rxTone = ToneCode();
    if (txSide == "Tone")
        txTone = Ctcss(kRTone);
    else if (txSide == "TSQL")
        txTone = Ctcss(kCTone);
    else if (txSide == "DTCS")
        txTone = Dtcs(kDtcs, polarity[0]);
    if (rxSide == "Tone" || rxSide == "TSQL")
        rxTone = Ctcss(kCTone);
    else if (rxSide == "DTCS")
        rxTone = Dtcs(cross ? kRxDtcs : kDtcs, polarity[1]);
    if (!txTone || !rxTone)
        return std::nullopt;
    entry.rxTone = *rxTone;
    if (entry.txFreq)
        entry.txTone = *txTone;

    // The flag columns, each as the column table maps it.
    for (const ChannelColumnRow &column : kChannelColumns) {
        const CommonMapping &mapping = column.common;
        std::optional<bool> set;
        if (mapping.rule == CommonRule::Texts) {
            const std::string_view text = Field(mapping.column, mapping.absent);
            set = CommonTextMeaning(mapping, text);
            if (!set)
                return Fail(PlanProblem::BadField, mapping.column, text,
                            "expected " + CommonTextList(mapping));
        } else if (mapping.rule == CommonRule::PowerLevel) {
            set = LowPower(mapping.column);
        } else {
            continue;
        }
        entry.flags = WithBit(entry.flags, column.bits, *set);
    }
    return entry;
}

} // namespace nx5rb::plan
