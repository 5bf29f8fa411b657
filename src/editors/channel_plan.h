// Channel plans as CSV files. Two layouts: our own (the grid's captions, every cell as the grid
// shows it) and the common layout of multi-radio programmers (Location, Frequency, Duplex, Tone,
// ...). Exports are written from typed channel records; an import reads either layout, checks
// every row against the rules of the channel grid and writes only the rows that pass.
#pragma once

#include "editors/channel_columns.h"
#include "image/radio_image.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nx5rb {

// A sub-tone field as a channel record stores it, low byte first. FF FF is no tone.
struct ToneCode
{
    std::uint8_t lo = mm::kErased;
    std::uint8_t hi = mm::kErased;

    bool operator==(const ToneCode &) const = default;
};

// One memory channel as its record holds it.
struct ChannelEntry
{
    int number = 0; // 0..127, as the grid numbers channels (the record of channel number + 1)
    std::int32_t rxFreq = 0; // 10 Hz
    std::optional<std::int32_t> txFreq; // 10 Hz; nothing: no transmit frequency and no tone
    ToneCode rxTone;
    ToneCode txTone; // meaningful only with a transmit frequency
    std::uint8_t flags = kNewChannelFlags; // the flag columns' bits and any others kept as found

    bool operator==(const ChannelEntry &) const = default;
};

// The existing channels (valid receive frequency under `areas`) in channel order. The transmit
// frequency is there only where it is valid under the transmit limits, as the grid shows it.
std::vector<ChannelEntry> ReadChannels(const RadioImage &image, const FreqAreaTable &areas);

enum class PlanLayout {
    Ours, // header: the grid's captions
    Common, // header: Location,Name,Frequency,Duplex,Offset,Tone,...
};

// What a common-layout export could not say about a channel ("low power", "receive tone 67.0").
struct ExportLoss
{
    int channel = 0;
    std::string what;
};

// CSV text (UTF-8, LF line ends): a header, then one row per channel. Our layout writes exactly
// what the grid shows, after a byte-order mark so that spreadsheets on Chinese Windows read it as
// UTF-8; the common layout fills the columns it has a meaning for (power and cross tone modes
// included) and reports in `losses` what it cannot express (a tone outside the tone list).
std::string ExportChannelPlan(const std::vector<ChannelEntry> &channels, PlanLayout layout,
                              std::vector<ExportLoss> *losses = nullptr);

enum class PlanProblem {
    NotText, // the bytes are neither UTF-8 nor GB18030 text
    NotAPlan, // the first line is neither layout's header
    MissingColumn, // the header lacks a column the layout needs
    UnclosedQuote, // a quoted field runs to the end of the file
    BadField, // a field that does not read as what its column holds
    ChannelTwice, // an earlier row names the same channel (detail: its line)
    OutsideBands, // a frequency outside every band's receive (or transmit) limits
    ToneNotListed, // a tone that is not in the tone list
    ToneWithoutTx, // a transmit tone on a row without a transmit frequency
    Snapped, // a warning: the channel raster moved a frequency (detail: the stored value)
};

struct PlanIssue
{
    int line = 0; // line of the file where the row starts, from 1
    PlanProblem problem = PlanProblem::BadField;
    std::string column; // the column's header, when a field is at fault
    std::string value; // the field as written
    std::string detail;

    bool operator==(const PlanIssue &) const = default;
};

// The issue in words for a terminal: "Frequency \"99.5\": outside every band's receive limits".
std::string IssueText(const PlanIssue &issue);

struct PlannedChannel
{
    int line = 0;
    ChannelEntry entry;
};

// What an import of a file into one image would do.
struct ChannelPlan
{
    std::optional<PlanLayout> layout; // nothing when the header is not recognised
    bool replaceAll = false;
    std::vector<PlannedChannel> good; // rows that pass, in file order
    std::vector<PlanIssue> refused; // rows that do not, with the first reason each
    std::vector<PlanIssue> warnings; // good rows whose frequencies the raster moved
    // Channels that exist in the image now and whose record the import changes or clears.
    int overwritten = 0;
    // Channels some row names, good or refused; a replace-all clears only the others.
    std::array<bool, mm::kChannelCount> named {};
};

// Reads a plan (the file's bytes: UTF-8 with or without a byte-order mark, else GB18030; LF or
// CRLF, quoted fields) against the image it is to be imported into. Our layout compares each field
// with what the channel shows now and leaves equal fields untouched (unknown flag bits, bytes
// +13..+15 and unlisted tones survive a round trip). Nothing is clamped to a band edge: a frequency
// outside every band is refused.
ChannelPlan ParseChannelPlan(std::string_view bytes, const RadioImage &image,
                             const FreqAreaTable &areas, bool replaceAll = false);

// Writes the good rows into the image the plan was read against (after a replace-all has cleared
// every channel no row names). Only channel records change. The caller decodes the grid again.
void ApplyChannelPlan(const ChannelPlan &plan, RadioImage &image, const FreqAreaTable &areas);

} // namespace nx5rb
