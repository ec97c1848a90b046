// The featmat subcommand (feature-matrix files: summary and CSV conversion) and the tour
// section of the feature matrix and the associative array.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
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

constexpr const char* kUsage =
    "qorkit featmat info FILE\n"
    "       qorkit featmat to-csv FILE [--delim X]\n"
    "       qorkit featmat from-csv CSV OUT [--kinds K,K,...] [--delim X]";

const Command kFeatmat{"featmat", kUsage, "feature-matrix files: summary, to CSV and from CSV",
                       Featmat};

constexpr const char* kHelp =
    "FILE is a feature-matrix file as TFeatureMatrix::Save writes it; '-' reads standard input.\n"
    "  info      the object count, then one line per feature: number, feature number, kind,\n"
    "            count of non-empty values and name, separated by tabs\n"
    "  to-csv    a header line of feature names, then one line per object (UTF-8)\n"
    "  from-csv  the first CSV line names the features, each further line is an object; kinds\n"
    "            are inferred per column (integer, double, tristate, else string) or given\n"
    "            with --kinds as integer, double, string, tristate or undefined\n"
    "  --delim X the CSV delimiter: one character or 'tab' (default: detected, else ',')\n";

/// Files read by the command: standard input for "-".
bool ReadInput(const std::string& name, std::string& bytes, std::ostream& err) {
    if (name == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        if (std::cin.bad()) {
            err << "qorkit: featmat: cannot read standard input\n";
            return false;
        }
        return true;
    }
    errno = 0;
    if (ReadFileBytes(name, bytes)) return true;
    const int e = errno;
    err << "qorkit: featmat: cannot read '" << name
        << "': " << (e != 0 ? std::strerror(e) : "not a regular file") << "\n";
    return false;
}

/// Loads a matrix from the bytes of a file (the reader wants a file: the bytes go through a
/// private temporary one when they came from standard input).
bool LoadMatrix(const std::string& name, TFeatureMatrix& m, std::ostream& err) {
    std::string path = name;
    std::string tmp;
    if (name == "-") {
        std::string bytes;
        if (!ReadInput(name, bytes, err)) return false;
        char pattern[] = "/tmp/qorkit-featmat-XXXXXX";
        const int fd = ::mkstemp(pattern);
        if (fd < 0) {
            err << "qorkit: featmat: cannot create a temporary file: " << std::strerror(errno)
                << "\n";
            return false;
        }
        tmp = pattern;
        const bool ok =
            ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
        ::close(fd);
        if (!ok) {
            ::unlink(tmp.c_str());
            err << "qorkit: featmat: cannot write a temporary file\n";
            return false;
        }
        path = tmp;
    } else {
        std::FILE* f = std::fopen(name.c_str(), "rb");
        if (f == nullptr) {
            err << "qorkit: featmat: cannot read '" << name << "': " << std::strerror(errno)
                << "\n";
            return false;
        }
        std::fclose(f);
    }
    std::int32_t r = -3;
    try {
        r = m.Load(FromUtf8(path));
    } catch (const Exception& e) {
        if (!tmp.empty()) ::unlink(tmp.c_str());
        err << "qorkit: featmat: cannot read '" << name << "': " << e.what() << "\n";
        return false;
    }
    if (!tmp.empty()) ::unlink(tmp.c_str());
    if (r == -2)
        err << "qorkit: featmat: '" << name
            << "': not a feature-matrix file (no featdef or featvals line)\n";
    else if (r == -3)
        err << "qorkit: featmat: '" << name << "': damaged feature-matrix file (bad number)\n";
    return r == 0;
}

/// A usage error: one line naming the problem, exit code 2.
int Usage(std::ostream& err, const std::string& reason) {
    err << "qorkit: featmat: " << reason << " (try 'qorkit featmat --help')\n";
    return 2;
}

/// The operand count check shared by the subcommands.
std::string OperandProblem(const std::vector<std::string>& positional, std::size_t wanted) {
    if (positional.size() < wanted) return "missing operand";
    if (positional.size() > wanted) return "extra operand '" + positional[wanted] + "'";
    return "";
}

struct Options {
    std::vector<std::string> positional;
    std::optional<std::string> delim, kinds;
    bool help = false;
};

/// Empty on success, else the reason of the usage error.
std::string ParseOptions(Args args, Options& o) {
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!options || a.size() < 2 || a[0] != '-') {
            o.positional.push_back(a);
        } else if (a == "--") {
            options = false;
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--delim" || a == "--kinds") {
            if (i + 1 == args.size()) return "option " + a + " needs a value";
            (a == "--delim" ? o.delim : o.kinds) = args[++i];
        } else {
            return "unknown option '" + a + "'";
        }
    }
    return "";
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

int Info(const Options& o, std::ostream& out, std::ostream& err) {
    if (const std::string why = OperandProblem(o.positional, 1); !why.empty())
        return Usage(err, why);
    if (o.delim || o.kinds) return Usage(err, "info takes no --delim or --kinds");
    TFeatureMatrix m;
    if (!LoadMatrix(o.positional[0], m, err)) return 1;
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

int ToCsv(const Options& o, std::ostream& out, std::ostream& err) {
    Char delim = u',';
    if (const std::string why = OperandProblem(o.positional, 1); !why.empty())
        return Usage(err, why);
    if (o.kinds) return Usage(err, "to-csv takes no --kinds");
    if (o.delim && !ParseDelimiterOption(*o.delim, delim))
        return Usage(err, "bad --delim '" + *o.delim + "'");
    TFeatureMatrix m;
    if (!LoadMatrix(o.positional[0], m, err)) return 1;
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

int FromCsv(const Options& o, std::ostream&, std::ostream& err) {
    std::optional<Char> delim;
    Char d = u',';
    if (const std::string why = OperandProblem(o.positional, 2); !why.empty())
        return Usage(err, why);
    if (o.delim && !ParseDelimiterOption(*o.delim, d))
        return Usage(err, "bad --delim '" + *o.delim + "'");
    if (o.delim) delim = d;
    std::string bytes;
    if (!ReadInput(o.positional[0], bytes, err)) return 1;
    bool utf8 = false;
    const CsvFile csv = ParseCsv(DecodeTextBytes(bytes, utf8), delim);
    if (csv.records.empty()) {
        err << "qorkit: featmat: '" << o.positional[0] << "': no header line\n";
        return 1;
    }
    if (csv.columns > static_cast<std::size_t>(TFeatureMatrix::kMaxReadFeatures) ||
        csv.records.size() > static_cast<std::size_t>(INT32_MAX)) {
        err << "qorkit: featmat: '" << o.positional[0] << "': too many columns or lines\n";
        return 1;
    }
    std::vector<TFeatKind> kinds;
    if (o.kinds) {
        std::string list = *o.kinds + ",";
        for (std::size_t at = 0, comma; (comma = list.find(',', at)) != std::string::npos;
             at = comma + 1) {
            TFeatKind k = fkUndefined;
            if (!KindByName(list.substr(at, comma - at), k))
                return Usage(err, "unknown kind '" + list.substr(at, comma - at) + "'");
            kinds.push_back(k);
        }
        if (kinds.size() != csv.columns)
            return Usage(err, "--kinds names " + std::to_string(kinds.size()) + " kinds for " +
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
                err << "qorkit: featmat: '" << o.positional[0] << "' line " << r + 1 << ", column "
                    << c + 1 << ": '" << ToUtf8(v) << "' is not a valid "
                    << ToUtf8(FEATKINDIDS[kinds[c]]) << " value\n";
                return 1;
            }
        }
    if (lossy)
        err << "qorkit: featmat: warning: characters outside Windows-1252 are stored as '?'\n";
    try {
        m.Save(FromUtf8(o.positional[1]));
    } catch (const Exception& e) {
        err << "qorkit: featmat: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

int Featmat(Args args, std::ostream& out, std::ostream& err) {
    Options o;
    if (const std::string why = ParseOptions(args, o); !why.empty()) return Usage(err, why);
    if (o.help) {
        out << "usage: " << kUsage << "\n" << kHelp;
        return 0;
    }
    if (o.positional.empty()) return Usage(err, "missing subcommand (info, to-csv, from-csv)");
    const std::string sub = o.positional.front();
    o.positional.erase(o.positional.begin());
    int rc = 0;
    if (sub == "info")
        rc = Info(o, out, err);
    else if (sub == "to-csv")
        rc = ToCsv(o, out, err);
    else if (sub == "from-csv")
        rc = FromCsv(o, out, err);
    else
        return Usage(err, "unknown subcommand '" + sub + "'");
    out.flush();
    if (!out) {
        err << "qorkit: featmat: cannot write standard output\n";
        return 1;
    }
    return rc;
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
