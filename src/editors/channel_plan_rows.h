// The rows of a channel plan: each data row read against the channel it names, by the rules of
// the channel grid. Internal to the channel plan.
#pragma once

#include "editors/channel_plan.h"
#include "editors/channel_plan_fields.h"
#include "editors/csv_text.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace nx5rb::plan {

// What every row of one file is read against.
struct ParseContext
{
    PlanLayout layout = PlanLayout::Ours;
    std::vector<std::string> header;
    // The columns rows are read by, with their index in the header (looked up once per file).
    std::vector<std::pair<std::string_view, int>> columns;
    const FreqAreaTable &areas;
    std::array<std::optional<ChannelEntry>, mm::kChannelCount> existing;
    std::optional<std::int64_t> lowestWattage; // milliwatts, when the file names several
};

// Index of a header column, -1 when there is none.
int ColumnIndex(const std::vector<std::string> &header, std::string_view name);
// Fills `columns` from `header`.
void IndexColumns(ParseContext &context);
// "5.0W" in milliwatts; nothing for a text that names no wattage.
std::optional<std::int64_t> Milliwatts(std::string_view text);

// One data row of a plan. The first fault found is kept; the row is refused with it.
class RowParser
{
public:
    RowParser(const ParseContext &context, const CsvRecord &record)
        : context_(context)
        , record_(record)
    { }

    std::optional<int> Number();
    std::optional<ChannelEntry> Ours(int number);
    std::optional<ChannelEntry> Common(int number);

    std::optional<PlanIssue> error;
    std::vector<PlanIssue> warnings;

private:
    std::string_view Field(std::string_view column, std::string_view absent = {}) const
    {
        int index = -1;
        for (const auto &[name, at] : context_.columns)
            if (name == column)
                index = at;
        if (index < 0 || std::size_t(index) >= record_.fields.size())
            return absent;
        const std::string_view text = Trimmed(record_.fields[std::size_t(index)]);
        return text.empty() ? absent : text;
    }

    std::nullopt_t Fail(PlanProblem problem, std::string_view column, std::string_view value,
                        std::string detail = {})
    {
        if (!error)
            error = PlanIssue {record_.line, problem, std::string(column), std::string(value),
                               std::move(detail)};
        return std::nullopt;
    }

    std::optional<std::int32_t> Frequency(std::string_view column, std::string_view text,
                                          bool receive);
    std::optional<std::int32_t> Placed(std::string_view column, std::string_view text,
                                       std::int64_t hz, bool receive);
    std::optional<ToneCode> Listed(std::string_view column, std::string_view text);
    std::optional<ToneCode> Ctcss(std::string_view column);
    std::optional<ToneCode> Dtcs(std::string_view column, char polarity);
    std::optional<bool> Choice(std::string_view column, std::string_view yes, std::string_view no);
    // A PowerLevel column: "Low", "L" (any case), or the lowest of several wattages in the file.
    bool LowPower(std::string_view column) const;

    const ParseContext &context_;
    const CsvRecord &record_;
};

} // namespace nx5rb::plan
