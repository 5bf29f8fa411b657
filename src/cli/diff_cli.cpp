#include "cli/diff_cli.h"

#include "cli/arguments.h"
#include "cli/json_writer.h"
#include "editors/field_table.h"

#include <algorithm>

namespace nx5rb::cli {

namespace {

constexpr OptionRow kDiffOptions[] = {
    {"", "json", "",
     "print a JSON array of {\"id\", \"page\", \"field\", \"address\", \"a\", \"b\"} instead"},
};

} // namespace

const CommandSyntax kDiffSyntax = {
    .name = "diff",
    .positional = "A.dat B.dat",
    .summary = "every value that differs between two files",
    .options = kDiffOptions,
    .about
    = R"TEXT(Compares the bytes the two files hold (after the header check, but without the repair that
"打开(&O)" applies, so a byte the repair would change is still a difference) and prints every
differing byte once, one line each: a value whose page shows it, in page order, with the texts
the page shows for it,

  PAGE / FIELD: "A-TEXT" -> "B-TEXT"

then, under the page "其他" as hexadecimal named by their addresses (and by the field they belong
to, if any), the differing bytes no page shows or whose shown text is the same (unused memory,
the band-start records, the garbage of a channel that exists in neither file). No line names a
byte that is equal in both files; two files whose images differ in any bit are never reported
the same.
)TEXT",
    .epilogue
    = R"TEXT(Exit status: 0 when the images are the same, 1 when they differ, 2 on a usage error, when a
file is not a data file or cannot be read, or when standard output cannot be written.
)TEXT",
};

namespace {

// A file that cannot be opened is trouble, not a difference.
constexpr int kExitTrouble = kExitUsage;
constexpr int kExitDiffer = 1;

std::string Json(const std::vector<FieldDifference> &differences)
{
    JsonWriter json;
    json.BeginArray();
    for (const FieldDifference &difference : differences) {
        json.BeginObject();
        json.Key("id");
        json.String(difference.id);
        json.Key("page");
        json.String(PageCaption(difference.page));
        json.Key("field");
        json.String(difference.name);
        json.Key("address");
        json.Int(difference.address);
        json.Key("a");
        json.String(difference.a);
        json.Key("b");
        json.String(difference.b);
        json.EndObject();
    }
    json.EndArray();
    return json.Text();
}

std::string Lines(const std::vector<FieldDifference> &differences)
{
    std::string text;
    for (const FieldDifference &difference : differences) {
        text += PageCaption(difference.page);
        text += " / ";
        text += difference.name;
        text += ": " + JsonWriter::Quote(difference.a) + " -> " + JsonWriter::Quote(difference.b)
            + "\n";
    }
    return text;
}

} // namespace

int RunDiff(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
            const ImageOpener &open)
{
    const auto line = ParseCommandLine(kDiffSyntax, args, err);
    if (!line)
        return kExitUsage;
    const bool json = line->Has("json");
    const auto a = open(line->Positional()[0], err);
    if (!a)
        return kExitTrouble;
    const auto b = open(line->Positional()[1], err);
    if (!b)
        return kExitTrouble;

    const std::vector<FieldDifference> differences = DiffStoredBytes(*a, *b);
    out << (json ? Json(differences) : Lines(differences));
    if (!out)
        return kExitTrouble;
    return differences.empty() ? kExitOk : kExitDiffer;
}

} // namespace nx5rb::cli
