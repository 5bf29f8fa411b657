#include "cli/page_export.h"

#include "app/file_commands.h"
#include "cli/json_writer.h"
#include "editors/channel_plan.h"
#include "editors/modulation_view.h"

#include <array>

namespace nx5rb::cli {

namespace {

constexpr std::array<const char *, mm::kBandCount> kBandLetter = {"A", "B", "C"};

std::vector<int> CellNumbers(const TextGrid &grid, int row, int firstCol, int lastCol)
{
    std::vector<int> values;
    for (int col = firstCol; col <= lastCol; ++col)
        values.push_back(BoxNumber(grid.Text(row, col)).value_or(0));
    return values;
}

void WriteAreas(JsonWriter &json, const DecodedDocument &state)
{
    json.Key("areas");
    json.BeginArray();
    for (int band = 0; band < mm::kBandCount; ++band) {
        const TextGrid &grid = state.FreqAreaView.Grids[band];
        json.BeginObject();
        json.Key("band");
        json.String(kBandLetter[band]);
        for (const ViewRow &row : kFreqAreaViewRows) {
            if (!row.PerBand())
                continue;
            json.Key(row.dumpKey);
            json.String(grid.Text(row.cell.row, row.cell.col));
        }
        json.EndObject();
    }
    json.EndArray();
    json.Key(kBandsRow.dumpKey);
    json.Int(state.WorkBandsCode);
    json.Key("work_bands_item");
    json.Int(state.FreqAreaView.BandCombinationItem);
    json.Key(kWorkChannelRow.dumpKey);
    std::vector<std::string> channels;
    for (int item : state.FreqAreaView.ChannelItem)
        channels.emplace_back(kWorkChannelRow.editor.items[item]);
    json.StringArray(channels);
}

void WriteTune(JsonWriter &json, const DecodedDocument &state)
{
    json.Key("tune");
    json.BeginArray();
    for (int band = 0; band < mm::kBandCount; ++band) {
        const TextGrid &tune = state.TuneViews[band].Tune;
        const TextGrid &squelch = state.TuneViews[band].Squelch;
        json.BeginObject();
        json.Key("band");
        json.String(kBandLetter[band]);
        json.Key("points");
        std::vector<std::string> points;
        for (int col = 1; col <= kTunePoints; ++col)
            points.push_back(tune.Text(0, col));
        json.StringArray(points);
        json.Key("rx_edge");
        json.Int(state.RxEdgeCol[band]);
        json.Key("tx_edge");
        json.Int(state.TxEdgeCol[band]);
        for (const auto &[grid, rows] :
             {std::pair {&tune, std::span<const ViewRow>(kTuneViewRows)},
              std::pair {&squelch, std::span<const ViewRow>(kSquelchViewRows)}})
            for (const ViewRow &row : rows) {
                json.Key(row.dumpKey);
                json.IntArray(
                    CellNumbers(*grid, row.cell.row, row.cell.col, row.Cell(row.count - 1).col));
            }
        json.EndObject();
    }
    json.EndArray();
}

void WriteModulation(JsonWriter &json, const DecodedDocument &state)
{
    json.Key("modulation");
    json.BeginArray();
    for (int band = 0; band < mm::kBandCount; ++band) {
        json.BeginObject();
        json.Key("band");
        json.String(kBandLetter[band]);
        for (int field = 0; field < kModulationFields; ++field) {
            json.Key(kModulationViewRows[field].dumpKey);
            json.OptionalInt(BoxNumber(state.ModulationViews[band].Response[field]));
        }
        json.EndObject();
    }
    json.EndArray();
    json.Key(kMaxOffsetRow.dumpKey);
    json.Int(state.MaxOffset);
}

void WriteMessage(JsonWriter &json, const DecodedDocument &state)
{
    json.Key(kPowerOnViewRows.front().dumpKey);
    std::vector<std::string> lines;
    for (const ViewRow &row : kPowerOnViewRows)
        lines.push_back(PowerOnLineText(state.PowerOnView, row.slot));
    json.StringArray(lines);
}

void WriteChannels(JsonWriter &json, const DecodedDocument &state)
{
    const TextGrid &grid = state.ChannelView.Grid;
    json.Key("channels");
    json.BeginArray();
    for (int row = 1; row < grid.Rows(); ++row) {
        if (grid.Text(row, kColRxFreq).empty())
            continue;
        json.BeginObject();
        json.Key("channel");
        json.Int(row - 1);
        for (const ChannelColumnRow &column : kChannelColumns) {
            json.Key(column.dumpKey);
            json.String(grid.Text(row, column.col));
        }
        json.EndObject();
    }
    json.EndArray();
}

} // namespace

std::string DumpJson(const DecodedDocument &state)
{
    JsonWriter json;
    json.BeginObject();
    WriteAreas(json, state);
    WriteTune(json, state);
    WriteModulation(json, state);
    WriteMessage(json, state);
    WriteChannels(json, state);
    json.EndObject();
    return json.Text();
}

std::string ChannelCsv(const Document &state)
{
    return ExportChannelPlan(ReadChannels(state.Image, state.FreqAreas), PlanLayout::Ours);
}

} // namespace nx5rb::cli
