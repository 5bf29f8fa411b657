#include "cli/json_writer.h"

#include <cstdio>

namespace nx5rb::cli {

std::string JsonWriter::Quote(std::string_view value)
{
    std::string out = "\"";
    for (char c : value) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += c; // UTF-8 passes through
            }
        }
    }
    return out + "\"";
}

void JsonWriter::NewLine()
{
    text_ += '\n';
    text_.append(levels_.size() * 2, ' ');
}

void JsonWriter::BeforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty())
        return;
    if (!levels_.back().empty)
        text_ += ',';
    levels_.back().empty = false;
    NewLine();
}

void JsonWriter::BeginObject()
{
    BeforeValue();
    text_ += '{';
    levels_.push_back({true, true});
}

void JsonWriter::EndObject()
{
    const bool empty = levels_.back().empty;
    levels_.pop_back();
    if (!empty)
        NewLine();
    text_ += '}';
}

void JsonWriter::BeginArray()
{
    BeforeValue();
    text_ += '[';
    levels_.push_back({false, true});
}

void JsonWriter::EndArray()
{
    const bool empty = levels_.back().empty;
    levels_.pop_back();
    if (!empty)
        NewLine();
    text_ += ']';
}

void JsonWriter::Key(std::string_view key)
{
    BeforeValue();
    text_ += Quote(key);
    text_ += ": ";
    afterKey_ = true;
}

void JsonWriter::String(std::string_view value)
{
    BeforeValue();
    text_ += Quote(value);
}

void JsonWriter::Int(long long value)
{
    BeforeValue();
    text_ += std::to_string(value);
}

void JsonWriter::Null()
{
    BeforeValue();
    text_ += "null";
}

void JsonWriter::OptionalInt(std::optional<int> value)
{
    if (value)
        Int(*value);
    else
        Null();
}

void JsonWriter::IntArray(const std::vector<int> &values)
{
    BeforeValue();
    text_ += '[';
    for (std::size_t i = 0; i < values.size(); ++i)
        text_ += (i ? ", " : "") + std::to_string(values[i]);
    text_ += ']';
}

void JsonWriter::StringArray(const std::vector<std::string> &values)
{
    BeforeValue();
    text_ += '[';
    for (std::size_t i = 0; i < values.size(); ++i)
        text_ += (i ? ", " : "") + Quote(values[i]);
    text_ += ']';
}

} // namespace nx5rb::cli
