// What the pages show, written out for a terminal or another program.
#pragma once

#include <string>

namespace nx5rb {
struct Document;
struct DecodedDocument;
} // namespace nx5rb

namespace nx5rb::cli {

// Every page as JSON (UTF-8): areas, band combination, working channels, tune tables,
// modulation settings, maximum offset, power-on message and the existing channels.
std::string DumpJson(const DecodedDocument &state);

// The channel grid as CSV in our own layout: the captions, then one row per existing channel,
// cells as the grid shows them.
std::string ChannelCsv(const Document &state);

} // namespace nx5rb::cli
