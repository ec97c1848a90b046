// The featmat subcommand (feature-matrix files: summary and CSV conversion) and the tour
// section of the feature matrix and the associative array.
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "command.h"
#include "csv_text.h"
#include "qorkit/core/errors.h"
#include "qorkit/dstruct/assoc_array.h"
#include "qorkit/dstruct/feature_matrix.h"
#include "qorkit/rtl/codepage.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/memory_stream.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit::tool {

namespace {

int Featmat(Args args, std::ostream& out, std::ostream& err);

const Command kFeatmat{
    "featmat",
    "qorkit featmat info FILE\n"
    "qorkit featmat to-csv FILE [--delim X]\n"
    "qorkit featmat from-csv CSV OUT [--kinds K,K,...] [--delim X]",
    "feature-matrix files: summary, to CSV and from CSV", Featmat,
    "  FILE      a feature-matrix file as TFeatureMatrix::Save writes it; - reads standard input\n"
    "  info      the object count, then one line per feature: number, feature number, kind,\n"
    "            count of non-empty values and name, separated by tabs\n"
    "  to-csv    a header line of feature names, then one line per object (UTF-8)\n"
    "  from-csv  the first CSV line names the features, each further line is an object; kinds\n"
    "            are inferred per column (integer, double, tristate, else string) or given\n"
    "            with --kinds as integer, double, string, tristate or undefined\n"
    "  --delim X the CSV delimiter: one character or 'tab' (default: detected, else ',')\n"};

/// Loads a matrix from a file (the reader wants a named file: standard input goes through a
/// private temporary copy). A missing or unreadable file raises `Failure` with the reason.
bool LoadMatrix(const std::string& name, TFeatureMatrix& m, std::ostream& err) {
    OpenInput(name);
    std::optional<TemporaryFile> copy;
    if (name == "-") copy.emplace(ReadInputBytes(name));
    const std::string path = copy ? copy->Name() : name;
    std::int32_t r = -3;
    try {
        r = m.Load(FromUtf8(path));
    } catch (const Exception& e) {
        err << "qorkit: featmat: cannot read '" << name << "': " << e.what() << "\n";
        return false;
    }
    if (r == -2)
        err << "qorkit: featmat: '" << name
            << "': not a feature-matrix file (no featdef or featvals line)\n";
    else if (r == -3)
        err << "qorkit: featmat: '" << name << "': damaged feature-matrix file (bad number)\n";
    return r == 0;
}

/// The kind named `name`: a display name of FEATKINDIDS or an enumeration name, any case.
bool KindByName(const std::string& name, TFeatKind& kind) {
    const String n = LowerCase(FromUtf8(name));
    for (std::size_t k = 0; k < FEATKINDIDS.size(); ++k) {
        if (n == FEATKINDIDS[k] || n == LowerCase(FeatKindName(static_cast<TFeatKind>(k)))) {
            kind = static_cast<TFeatKind>(k);
            return true;
        }
    }
    return false;
}

/// The narrowest kind that takes every non-empty value of column `c`.
TFeatKind InferKind(const CsvFile& csv, std::size_t c) {
    bool integer = true, real = true, tri = true, any = false;
    for (std::size_t r = 1; r < csv.records.size(); ++r) {
        if (c >= csv.records[r].size() || csv.records[r][c].empty()) continue;
        const String& v = csv.records[r][c];
        long double x = 0;
        any = true;
        integer = integer && IsFeatIntegerText(v);
        real = real && IsFeatFloatText(v) && TryStrToFloat(v, x) &&
               v.find_first_of(u" \t") == String::npos;
        tri = tri && IsFeatTriStateText(v);
    }
    if (!any) return fkString;
    return integer ? fkInteger : real ? fkDouble : tri ? fkTriState : fkString;
}

/// A copy of `m` whose features are all string features, so that every value reads as text
/// whatever the kinds say (an undefined feature would refuse to be read).
void TextView(const TFeatureMatrix& m, TFeatureMatrix& text) {
    text.Assign(&m);
    text.SetFeatType(0, 0, fkString);
}

int Info(Args args, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> file = OptionParser().Parse(args, 1, 1);
    TFeatureMatrix m;
    if (!LoadMatrix(file[0], m, err)) return 1;
    TFeatureMatrix text;
    TextView(m, text);
    out << "objects\t" << m.NObjects() << "\nfeatures\t" << m.NFeatures() << "\n";
    out << "feature\tnumber\tkind\tvalues\tname\n";
    for (std::int32_t f = 1; f <= m.NFeatures(); ++f) {
        const auto p = m.FeatProps(f);
        std::int32_t values = 0;
        for (std::int32_t obj = 1; obj <= m.NObjects(); ++obj)
            values += !text.FeatVal(f, obj).empty();
        out << f << "\t" << p->FeatNum() << "\t" << ToUtf8(FeatKindName(p->FeatKind())) << "\t"
            << values << "\t" << ToUtf8(p->FeatName()) << "\n";
    }
    return 0;
}

// The --delim option's character; a usage error for a bad one.
Char Delimiter(const std::string& option) {
    Char delim = u',';
    if (!ParseDelimiterOption(option, delim)) throw UsageFailure("bad --delim '" + option + "'");
    return delim;
}

int ToCsv(Args args, std::ostream& out, std::ostream& err) {
    std::optional<std::string> delimOption;
    const std::vector<std::string> file =
        OptionParser().Text("--delim", delimOption).Parse(args, 1, 1);
    const Char delim = delimOption ? Delimiter(*delimOption) : u',';
    TFeatureMatrix m;
    if (!LoadMatrix(file[0], m, err)) return 1;
    TFeatureMatrix text;
    TextView(m, text);
    std::vector<String> fields(static_cast<std::size_t>(m.NFeatures()));
    for (std::int32_t f = 1; f <= m.NFeatures(); ++f)
        fields[static_cast<std::size_t>(f - 1)] = m.FeatProps(f)->FeatName();
    out << ToUtf8(FormatCsvLine(fields, delim)) << "\n";
    for (std::int32_t obj = 1; obj <= m.NObjects(); ++obj) {
        for (std::int32_t f = 1; f <= m.NFeatures(); ++f)
            fields[static_cast<std::size_t>(f - 1)] = text.FeatVal(f, obj);
        out << ToUtf8(FormatCsvLine(fields, delim)) << "\n";
    }
    return 0;
}

int FromCsv(Args args, std::ostream&, std::ostream& err) {
    std::optional<std::string> delimOption, kindsOption;
    const std::vector<std::string> files =
        OptionParser().Text("--delim", delimOption).Text("--kinds", kindsOption).Parse(args, 2, 2);
    std::optional<Char> delim;
    if (delimOption) delim = Delimiter(*delimOption);
    const std::string bytes = ReadInputBytes(files[0]);
    bool utf8 = false;
    const CsvFile csv = ParseCsv(DecodeTextBytes(bytes, utf8), delim);
    if (csv.records.empty()) {
        err << "qorkit: featmat: '" << files[0] << "': no header line\n";
        return 1;
    }
    if (csv.columns > static_cast<std::size_t>(TFeatureMatrix::kMaxReadFeatures) ||
        csv.records.size() > static_cast<std::size_t>(INT32_MAX)) {
        err << "qorkit: featmat: '" << files[0] << "': too many columns or lines\n";
        return 1;
    }
    std::vector<TFeatKind> kinds;
    if (kindsOption) {
        std::string list = *kindsOption + ",";
        for (std::size_t at = 0, comma; (comma = list.find(',', at)) != std::string::npos;
             at = comma + 1) {
            TFeatKind k = fkUndefined;
            if (!KindByName(list.substr(at, comma - at), k))
                throw UsageFailure("unknown kind '" + list.substr(at, comma - at) + "'");
            kinds.push_back(k);
        }
        if (kinds.size() != csv.columns)
            throw UsageFailure("--kinds names " + std::to_string(kinds.size()) + " kinds for " +
                               std::to_string(csv.columns) + " columns");
    } else {
        for (std::size_t c = 0; c < csv.columns; ++c)
            kinds.push_back(InferKind(csv, c));
    }
    TFeatureMatrix m;
    m.SetName(u"featmat");
    const auto nf = static_cast<std::int32_t>(csv.columns);
    m.Resize(nf, static_cast<std::int32_t>(csv.records.size() - 1));
    bool lossy = false;
    for (std::int32_t f = 1; f <= nf; ++f) {
        const auto c = static_cast<std::size_t>(f - 1);
        const auto p = m.FeatProps(f);
        p->SetFeatNum(f);
        p->SetFeatName(c < csv.records[0].size() ? csv.records[0][c] : String());
        p->SetFeatKind(kinds[c]);
    }
    for (std::size_t r = 1; r < csv.records.size(); ++r)
        for (std::size_t c = 0; c < csv.records[r].size(); ++c) {
            const String& v = csv.records[r][c];
            if (v.empty()) continue;  // no value; an undefined feature takes none
            for (const Char ch : v)
                lossy = lossy || (ch != u'?' && CharToWin1252(ch) == '?');
            try {
                m.SetFeatValStr(static_cast<std::int32_t>(c + 1), static_cast<std::int32_t>(r), v);
            } catch (const EQORDStructError&) {
                err << "qorkit: featmat: '" << files[0] << "' line " << r + 1 << ", column "
                    << c + 1 << ": '" << ToUtf8(v) << "' is not a valid "
                    << ToUtf8(FEATKINDIDS[kinds[c]]) << " value\n";
                return 1;
            }
        }
    if (lossy)
        err << "qorkit: featmat: warning: characters outside Windows-1252 are stored as '?'\n";
    try {
        m.Save(FromUtf8(files[1]));
    } catch (const Exception& e) {
        err << "qorkit: featmat: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

int Featmat(Args args, std::ostream& out, std::ostream& err) {
    if (args.empty()) throw UsageFailure("missing subcommand (info, to-csv, from-csv)");
    const std::string& sub = args[0];
    if (sub == "info") return Info(args.subspan(1), out, err);
    if (sub == "to-csv") return ToCsv(args.subspan(1), out, err);
    if (sub == "from-csv") return FromCsv(args.subspan(1), out, err);
    throw UsageFailure("unknown subcommand '" + sub + "'");
}

void ShowFeatmat(std::ostream& out) {
    TFeatureMatrix m;
    m.SetName(u"Matrix1");
    int changes = 0;
    m.SetOnChange([&](TObject*) { ++changes; });
    m.Resize(3, 2);
    out << "Resize(3, 2) notifies " << changes << " times; new features are 'undefined' and refuse"
        << " values until SetFeatType gives them a kind.\n";
    m.SetFeatType(1, 1, fkInteger);
    m.SetFeatType(2, 2, fkDouble);
    m.SetFeatType(3, 3, fkTriState);
    m.GenerateFeatNames(u"F<%D-2%>", 0, 0, 1, 1);
    m.SetFeatValint(1, 1, 9007199254740993);
    m.SetFeatValStr(2, 1, u"12abc");
    m.SetFeatValStr(3, 1, u"TRUE");
    m.Fill(2, 0.5);
    out << "GenerateFeatNames(\"F<%D-2%>\") names them " << ToUtf8(m.FeatProps(1)->FeatName())
        << ", " << ToUtf8(m.FeatProps(2)->FeatName()) << ", " << ToUtf8(m.FeatProps(3)->FeatName())
        << ".\n";
    out << "An integer beyond 32 bits reads back whole: " << m.FeatValAsInt(1, 1) << ".\n";
    out << "A double feature takes any valid prefix (\"12abc\"); Fill(2, 0.5) then gives every"
        << " object " << ToUtf8(m.FeatVal(2, 2)) << "; \"TRUE\" reads as tri-state "
        << (m.FeatValAsTriState(3, 1) == tsTrue ? "tsTrue" : "?") << ".\n";
    try {
        m.SetFeatValStr(1, 2, u"1.5");
    } catch (const EQORDStructError& e) {
        out << "A refused write: " << e.what() << "\n";
    }
    m.SetFeatValStr(3, 2, u"false");
    out << "The file format, one record per line:\n";
    const std::string path = "/tmp/qorkit-tour-" + std::to_string(::getpid()) + ".fm";
    m.Save(FromUtf8(path));
    std::string bytes;
    ReadFileBytes(path, bytes);
    ::unlink(path.c_str());
    for (const char c : bytes)
        if (c != '\r') out << c;

    TAssocArray a;
    a.Add(u"Alpha", 1);
    a.Add(u"beta", u"2,5 kg");
    a.Add(u"gamma", 3.5);
    out << "\nTAssocArray: Add(\"Alpha\") stores \"" << ToUtf8(a.Keys(1))
        << "\" (IgnoreCase); Resolve(\"ALPHA\") = " << a.Resolve(u"ALPHA").AsInteger()
        << "; ResolveAsNumber(\"beta\") = " << a.ResolveAsNumber(u"beta")
        << "; ResolveAsInt(\"gamma\") = " << a.ResolveAsInt(u"gamma") << " (half to even).\n";
    a.Remove(u"alpha");
    out << "Remove(\"alpha\") moves the last entry into its place: Keys(1) = " << ToUtf8(a.Keys(1))
        << ". Lookups use a hash index of the A-Z folded keys, so they take constant time.\n";
    a.Add(u"note", u"a <b> & \"c\"\n\u20AC");
    TMemoryStream s;
    a.WriteToXMLStream(s, false, u"demo");
    out << "WriteToXMLStream:\n";
    const std::string xml(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
    for (const char c : xml)
        if (c != '\r') out << c;
}

const RegisterCommand kRegisterFeatmat(kFeatmat);
const RegisterTourSection kSection({65, "Feature matrix and associative array", ShowFeatmat});

}  // namespace

}  // namespace qorkit::tool
