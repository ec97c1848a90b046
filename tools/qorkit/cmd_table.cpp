// The table subcommand (sort, find and XML conversion of CSV files through TStringArray) and
// its tour section.
#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "command.h"
#include "csv_text.h"
#include "qorkit/core/lookup_tables.h"
#include "qorkit/dstruct/string_table.h"
#include "qorkit/qorkit.h"
#include "qorkit/rtl/codepage.h"

namespace qorkit::tool {

namespace {

int Table(Args args, std::ostream& out, std::ostream& err);

const Command kTable{"table",
                     "qorkit table sort FILE --col N [--then M] [--desc] [--header] [--delim X]\n"
                     "qorkit table find FILE TEXT [--exact] [--case] [--delim X]\n"
                     "qorkit table to-xml CSVFILE XMLFILE [--id ID] [--delim X]\n"
                     "qorkit table from-xml XMLFILE [--id ID] [--delim X]",
                     "CSV files as string tables: sort, find, to-xml, from-xml", Table,
                     "  --col N, --then M  sort by column N, ties by column M (from 1)\n"
                     "  --desc             sort in descending order\n"
                     "  --header           keep the first line in place\n"
                     "  --exact            find whole cells only\n"
                     "  --case             find with regard to case\n"
                     "  --id ID            the table's identifier in the XML file\n"
                     "  --delim X          the field delimiter (one character or 'tab'); detected\n"
                     "                     from the first line when not given\n"
                     "FILE, CSVFILE and XMLFILE may be - for standard input.\n"};

// The identifier under which to-xml stores a table when no --id is given; from-xml without
// --id takes the first table of the file, whatever its identifier.
constexpr std::u16string_view kDefaultId = u"table";

struct Options {
    std::vector<std::string> positional;
    std::optional<std::int32_t> col, then;
    std::optional<std::string> delim, id;
    bool desc = false, header = false, exact = false, matchCase = false;
};

// Column numbers are checked against the file later; here only their type is bounded.
constexpr std::int64_t kMaxColumn = std::numeric_limits<std::int32_t>::max();

// The --delim value; nothing when the option is absent.
std::optional<Char> ParseDelimiter(const Options& o) {
    if (!o.delim) return std::nullopt;
    Char d = u',';
    if (!ParseDelimiterOption(*o.delim, d))
        throw UsageFailure("--delim '" + *o.delim + "' is not one character other than a quote");
    return d;
}

void ReadCsv(const std::string& name, std::optional<Char> delim, CsvFile& csv) {
    const std::string bytes = ReadInputBytes(name);
    // Files carry no declaration of their encoding: UTF-8 is taken when the bytes are valid
    // UTF-8 (plain ASCII included), anything else is read as Windows-1252, the 8-bit code page
    // of the library, which accepts every byte.
    bool utf8 = false;
    csv = ParseCsv(DecodeTextBytes(bytes, utf8), delim);
}

// True when storing `s` as a cell loses something: it is cut, or a character has no
// Windows-1252 code and becomes "?".
bool StoresLossy(std::u16string_view s) {
    if (s.size() > static_cast<std::size_t>(TStringArray::kMaxCellLength)) return true;
    for (const Char c : s)
        if (c != u'?' && CharToWin1252(c) == '?') return true;
    return false;
}

// Record i goes to row i + 1, field k to column k + 1; column 0 stays empty and short records
// are padded with empty cells. Returns the number of rows in use (0 for no records, when the
// table keeps its single empty row).
std::int32_t LoadTable(TStringArray& t, const std::vector<std::vector<String>>& records,
                       std::size_t from, std::size_t columns, std::ostream& err) {
    const auto rows = static_cast<std::int32_t>(records.size() - from);
    if (rows <= 0) return 0;
    t.Resize(static_cast<std::int32_t>(std::max<std::size_t>(columns, 1)), rows);
    bool lossy = false;
    for (std::int32_t r = 1; r <= rows; ++r) {
        const std::vector<String>& fields = records[from + static_cast<std::size_t>(r - 1)];
        for (std::size_t k = 0; k < fields.size(); ++k) {
            lossy = lossy || StoresLossy(fields[k]);
            t.SetText(static_cast<std::int32_t>(k + 1), r, fields[k]);
        }
    }
    if (lossy)
        ReportError(err,
                    "warning: some cells were cut to 255 characters or held "
                    "characters outside Windows-1252 (stored as '?')");
    return rows;
}

void PrintRecord(std::vector<String> fields, std::size_t columns, Char delim, std::ostream& out) {
    fields.resize(columns);
    out << ToUtf8(FormatCsvLine(fields, delim)) << "\n";
}

// Rows 1..rows in the shown order, columns 1..NrOfColumns.
void PrintTable(const TStringArray& t, std::int32_t rows, Char delim, std::ostream& out) {
    std::vector<String> fields(static_cast<std::size_t>(t.NrOfColumns()));
    for (std::int32_t r = 1; r <= rows; ++r) {
        for (std::int32_t c = 1; c <= t.NrOfColumns(); ++c)
            fields[static_cast<std::size_t>(c - 1)] = t.Text(c, r);
        out << ToUtf8(FormatCsvLine(fields, delim)) << "\n";
    }
}

void CheckColumn(const char* what, std::int32_t value, std::size_t columns) {
    if (static_cast<std::size_t>(value) > columns)
        throw UsageFailure(std::string(what) + " " + std::to_string(value) +
                           " is not a column of the file (1.." + std::to_string(columns) + ")");
}

int SortCommand(Args args, std::ostream& out, std::ostream& err) {
    Options o;
    o.positional = OptionParser()
                       .Int("--col", o.col, 1, kMaxColumn)
                       .Int("--then", o.then, 1, kMaxColumn)
                       .Flag("--desc", o.desc)
                       .Flag("--header", o.header)
                       .Text("--delim", o.delim)
                       .Parse(args, 1, 1);
    if (!o.col) throw UsageFailure("sort needs --col");
    CsvFile csv;
    ReadCsv(o.positional[0], ParseDelimiter(o), csv);
    const std::size_t columns = std::max<std::size_t>(csv.columns, 1);
    CheckColumn("--col", *o.col, columns);
    if (o.then) CheckColumn("--then", *o.then, columns);
    const bool header = o.header && !csv.records.empty();
    if (header) PrintRecord(csv.records.front(), columns, csv.delim, out);
    TStringArray t;
    const std::int32_t rows = LoadTable(t, csv.records, header ? 1 : 0, columns, err);
    t.Sort(*o.col, o.then.value_or(0), !o.desc);
    PrintTable(t, rows, csv.delim, out);
    return 0;
}

int FindCommand(Args args, std::ostream& out, std::ostream& err) {
    Options o;
    o.positional = OptionParser()
                       .Flag("--exact", o.exact)
                       .Flag("--case", o.matchCase)
                       .Text("--delim", o.delim)
                       .Parse(args, 2, 2);
    CsvFile csv;
    ReadCsv(o.positional[0], ParseDelimiter(o), csv);
    TStringArray t;
    const std::int32_t rows = LoadTable(t, csv.records, 0, csv.columns, err);
    const String text = FromUtf8(o.positional[1]);
    const std::int32_t cols = t.NrOfColumns();
    // Column 0 does not come from the file, so every search covers columns 1..cols only. After a
    // hit the search goes on in the same row right of it, then in the rows below; the bounds
    // are checked here because the table would clamp a start beyond the end back into range.
    const auto find = [&](std::int32_t colLow, std::int32_t rowLow, std::int32_t rowHigh,
                          std::int32_t& c, std::int32_t& r) {
        return o.exact ? t.FindCellExact(text, o.matchCase, colLow, cols, rowLow, rowHigh, c, r)
                       : t.FindCell(text, o.matchCase, colLow, cols, rowLow, rowHigh, c, r);
    };
    std::int32_t row = 1, col = 0;
    bool any = false;
    while (row <= rows) {
        std::int32_t foundCol = col, foundRow = row;
        bool hit = false;
        if (col < cols) hit = find(col + 1, row, row, foundCol, foundRow);
        if (!hit && row < rows) hit = find(1, row + 1, rows, foundCol, foundRow);
        if (!hit) break;
        any = true;
        out << foundRow << "\t" << foundCol << "\t" << ToUtf8(t.Text(foundCol, foundRow)) << "\n";
        row = foundRow;
        col = foundCol;
    }
    return any ? 0 : 1;
}

int ToXmlCommand(Args args, std::ostream&, std::ostream& err) {
    Options o;
    o.positional = OptionParser().Text("--id", o.id).Text("--delim", o.delim).Parse(args, 2, 2);
    CsvFile csv;
    ReadCsv(o.positional[0], ParseDelimiter(o), csv);
    TStringArray t;
    LoadTable(t, csv.records, 0, csv.columns, err);
    t.SaveAsXMLFile(FromUtf8(o.positional[1]), o.id ? FromUtf8(*o.id) : String(kDefaultId));
    return 0;
}

int FromXmlCommand(Args args, std::ostream& out, std::ostream& err) {
    Options o;
    o.positional = OptionParser().Text("--id", o.id).Text("--delim", o.delim).Parse(args, 1, 1);
    const std::string& name = o.positional[0];
    const std::optional<Char> delim = ParseDelimiter(o);
    OpenInput(name);  // reports a missing or unreadable file with the system's reason
    TStringArray t;
    bool found = false;
    if (name == "-") {
        // The XML reader works on named files: standard input goes through a private copy.
        const TemporaryFile copy(ReadInputBytes(name));
        found = t.LoadFromXMLFile(FromUtf8(copy.Name()), o.id ? FromUtf8(*o.id) : String());
    } else {
        found = t.LoadFromXMLFile(FromUtf8(name), o.id ? FromUtf8(*o.id) : String());
    }
    if (!found)
        return ReportError(
            err, "no table" + (o.id ? " '" + *o.id + "'" : std::string()) + " in '" + name + "'");
    PrintTable(t, t.NrOfRows(), delim.value_or(u','), out);
    return 0;
}

int Table(Args args, std::ostream& out, std::ostream& err) {
    if (args.empty()) throw UsageFailure("missing subcommand");
    const std::string& sub = args[0];
    const Args rest = args.subspan(1);
    if (sub == "sort") return SortCommand(rest, out, err);
    if (sub == "find") return FindCommand(rest, out, err);
    if (sub == "to-xml") return ToXmlCommand(rest, out, err);
    if (sub == "from-xml") return FromXmlCommand(rest, out, err);
    throw UsageFailure("unknown subcommand '" + sub + "'");
}

void ShowTable(std::ostream& out) {
    TStringArray t;
    const char* const cities[][2] = {{"Oslo", "NO"}, {"bern", "CH"},   {"Athens", "GR"},
                                     {"Bern", "US"}, {"athens", "US"}, {"Zagreb", "HR"}};
    t.Resize(2, 6);
    for (std::int32_t r = 1; r <= 6; ++r)
        for (std::int32_t c = 1; c <= 2; ++c)
            t.SetString(c, r, cities[r - 1][c - 1]);
    const auto rows = [&](const char* label) {
        out << label;
        for (std::int32_t r = 1; r <= t.NrOfRows(); ++r)
            out << " " << t.GetString(1, r) << "/" << t.GetString(2, r);
        out << "\n";
    };
    rows("6 cities as stored:");
    t.Sort(1, 2, true);
    rows("Sort(1, 2, true):  ");
    out << "Keys ignore A-Z case and compare by code units; ties go to column 2. Only the row\n"
           "permutation changed, shown row -> physical row:";
    for (std::int32_t r = 1; r <= t.NrOfRows(); ++r)
        out << " " << t.GetSortOrder(r);
    out << "\n";
    std::int32_t row = 0, col = 0;
    if (t.FindCellInSortedColumn(u"BERN", false, 1, -1, -1, true, row))
        out << "FindCellInSortedColumn(\"BERN\") -> row " << row << " (the first of the run)\n";
    if (t.FindCellExact(u"US", true, -1, -1, -1, -1, col, row))
        out << "FindCellExact(\"US\") -> column " << col << ", row " << row << "\n";
    t.UnSort();
    rows("UnSort:            ");

    TStringArray big;
    big.Resize(4, 2500);
    for (std::int32_t r = 1; r <= big.NrOfRows(); ++r)
        for (std::int32_t c = 1; c <= 4; ++c)
            big.SetString(c, r, "cell" + std::to_string(r));
    const auto used = [&] {
        std::int64_t bytes = 0;
        for (std::int32_t p = 1; p <= big.NumBuffers(); ++p)
            bytes += big.PoolFirstFree(p) - 1;
        return bytes;
    };
    out << "10,000 short texts: " << big.NumBuffers() << " pools of 32 KiB (NumBuffers), " << used()
        << " bytes used, no allocation per cell\n";
    for (std::int32_t r = 1; r <= big.NrOfRows(); r += 2)
        for (std::int32_t c = 1; c <= 4; ++c)
            big.SetString(c, r, "a longer cell " + std::to_string(r));
    out << "Half of them overwritten with longer texts: " << big.NumBuffers() << " pools, "
        << used() << " bytes used (the old slots are garbage)\n";
    big.GarbageCollection();
    out << "GarbageCollection: " << big.NumBuffers() << " pools (kept), " << used()
        << " bytes used\n";
}

const RegisterCommand kRegisterTable(kTable);
const RegisterTourSection kSection({60, "String table", ShowTable});

}  // namespace

}  // namespace qorkit::tool
