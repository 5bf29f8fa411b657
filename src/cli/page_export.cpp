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
        json.Key("rx_low");
        json.String(grid.Text(1, 1));
        json.Key("rx_high");
        json.String(grid.Text(1, 2));
        json.Key("tx_low");
        json.String(grid.Text(2, 1));
        json.Key("tx_high");
        json.String(grid.Text(2, 2));
        json.Key("tune");
        json.String(grid.Text(3, 1));
        json.EndObject();
    }
    json.EndArray();
    json.Key("work_bands_code");
    json.Int(state.WorkBandsCode);
    json.Key("work_bands_item");
    json.Int(state.FreqAreaView.BandCombinationItem);
    json.Key("work_channels");
    std::vector<std::string> channels;
    for (int item : state.FreqAreaView.ChannelItem)
        channels.emplace_back(freq_area_text::kChannelItems[item]);
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
        json.Key("sensitivity");
        json.IntArray(CellNumbers(tune, 1, 1, kTunePoints));
        json.Key("low_power");
        json.IntArray(CellNumbers(tune, 2, 1, kTunePoints));
        json.Key("high_power");
        json.IntArray(CellNumbers(tune, 3, 1, kTunePoints));
        json.Key("squelch_high");
        json.IntArray(CellNumbers(squelch, 1, 1, kSquelchColumns));
        json.Key("squelch_low");
        json.IntArray(CellNumbers(squelch, 2, 1, kSquelchColumns));
        json.EndObject();
    }
    json.EndArray();
}

void WriteModulation(JsonWriter &json, const DecodedDocument &state)
{
    static constexpr std::array<const char *, kModulationFields> kKeys
        = {"response1",       "response2",      "response3",
           "total_deviation", "tone_deviation", "code_deviation"};
    json.Key("modulation");
    json.BeginArray();
    for (int band = 0; band < mm::kBandCount; ++band) {
        json.BeginObject();
        json.Key("band");
        json.String(kBandLetter[band]);
        for (int field = 0; field < kModulationFields; ++field) {
            json.Key(kKeys[field]);
            json.OptionalInt(BoxNumber(state.ModulationViews[band].Response[field]));
        }
        json.EndObject();
    }
    json.EndArray();
    json.Key("max_offset");
    json.Int(state.MaxOffset);
}

void WriteMessage(JsonWriter &json, const DecodedDocument &state)
{
    json.Key("message");
    std::vector<std::string> lines;
    for (int line = 0; line < mm::kPowerOnLines; ++line)
        lines.push_back(PowerOnLineText(state.PowerOnView, line));
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
