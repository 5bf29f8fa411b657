// Comma-separated text as spreadsheets write it: fields in double quotes may hold commas, line
// breaks and doubled quotes; lines end in LF or CRLF; a UTF-8 byte-order mark may come first.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nx5rb {

struct CsvRecord
{
    int line = 0; // the line the record starts on, from 1
    std::vector<std::string> fields; // as written, quotes removed
    bool unclosedQuote = false; // a quoted field ran to the end of the text
};

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// A spreadsheet's file as UTF-8 text. Bytes that are valid UTF-8 are UTF-8 (a byte-order mark
// may come first); anything else is read as GB18030, which is what spreadsheets on Chinese
// Windows save (GBK is part of it). Nothing when the bytes are neither.
std::optional<std::string> CsvTextAsUtf8(std::string_view bytes);

// The records of a text in order; lines that hold nothing are skipped.
std::vector<CsvRecord> ReadCsv(std::string_view text);

// A field as written: in quotes when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);
// Fields joined by commas, then LF.
std::string CsvLine(const std::vector<std::string> &fields);

} // namespace nx5rb
