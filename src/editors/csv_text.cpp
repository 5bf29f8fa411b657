#include "editors/csv_text.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

namespace nx5rb {

namespace {

constexpr std::string_view kByteOrderMark = kUtf8ByteOrderMark;

bool Blank(const CsvRecord &record)
{
    return !record.unclosedQuote && record.fields.size() == 1
        && record.fields.front().find_first_not_of(" \t") == std::string::npos;
}

} // namespace

std::optional<std::string> CsvTextAsUtf8(std::string_view bytes)
{
    // Stateless: a sequence cut off at the end of the file is an error, not one waiting for more.
    const auto flags = QStringConverter::Flag::Stateless;
    const QByteArrayView view(bytes.data(), qsizetype(bytes.size()));
    QStringDecoder utf8(QStringConverter::Utf8, flags);
    // decode() converts only when its result becomes a string.
    const QString asUtf8 = utf8.decode(view);
    if (!utf8.hasError())
        return std::string(bytes);
    QStringDecoder gb18030("GB18030", flags);
    if (!gb18030.isValid())
        return std::nullopt;
    QString text = gb18030.decode(view);
    if (gb18030.hasError())
        return std::nullopt;
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    const QByteArray converted = text.toUtf8();
    return std::string(converted.constData(), std::size_t(converted.size()));
}

std::vector<CsvRecord> ReadCsv(std::string_view text)
{
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    std::vector<CsvRecord> records;
    CsvRecord record {1, {std::string()}, false};
    int line = 1;
    bool quoted = false; // inside a quoted part of the field
    bool fieldStart = true;
    const auto endRecord = [&] {
        if (!Blank(record))
            records.push_back(std::move(record));
        record = CsvRecord {line, {std::string()}, false};
        fieldStart = true;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool lineEnd = c == '\n' || c == '\r';
        if (lineEnd && (c == '\n' || i + 1 >= text.size() || text[i + 1] != '\n'))
            ++line; // CR LF counts once, at its LF
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                record.fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                record.fields.back() += c;
            }
            continue;
        }
        if (c == '"' && fieldStart) {
            quoted = true;
            fieldStart = false;
        } else if (c == ',') {
            record.fields.emplace_back();
            fieldStart = true;
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            // the LF ends the record
        } else if (lineEnd) {
            endRecord();
        } else {
            record.fields.back() += c;
            fieldStart = false;
        }
    }
    record.unclosedQuote = quoted;
    endRecord();
    return records;
}

std::string CsvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string CsvLine(const std::vector<std::string> &fields)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += CsvField(fields[i]);
    }
    line += '\n';
    return line;
}

} // namespace nx5rb
