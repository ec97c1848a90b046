// Stream subcommands (lines, tags, scan-numbers) and the tour section about streams and
// tagged text.
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "command.h"
#include "qorkit/qorkit.h"

namespace qorkit::tool {

namespace {

int Lines(Args args, std::ostream& out, std::ostream& err);
int Tags(Args args, std::ostream& out, std::ostream& err);
int ScanNumbers(Args args, std::ostream& out, std::ostream& err);

const Command kLines{"lines", "qorkit lines [FILE...]", "count the LF bytes of each file", Lines,
                     "FILE is read from standard input when it is - or missing.\n"};
const Command kTags{"tags", "qorkit tags FILE [NAME...]",
                    "list tags and attributes; text of the NAMEd elements", Tags,
                    "Each tag is listed with its byte offset. FILE - is standard input.\n"};
const Command kScanNumbers{"scan-numbers", "qorkit scan-numbers [--comma] [--noexp] [FILE]",
                           "print the numbers in a file", ScanNumbers,
                           "  --comma  accept a decimal comma as well as a point\n"
                           "  --noexp  do not read exponents\n"
                           "FILE is read from standard input when it is - or missing.\n"};

// Stream text is 8-bit (U+0000 to U+00FF); control characters are shown escaped.
std::string Printable(const String& s, std::size_t max) {
    std::string out;
    for (std::size_t i = 0; i < s.size() && i < max; ++i) {
        const Char c = s[i];
        if (c == u'\n') {
            out += "\\n";
        } else if (c == u'\r') {
            out += "\\r";
        } else if (c == u'\t') {
            out += "\\t";
        } else if (c < 32) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", static_cast<unsigned>(c));
            out += buf;
        } else {
            out += ToUtf8(std::u16string_view(&c, 1));
        }
    }
    if (s.size() > max) out += "...";
    return out;
}

int Lines(Args args, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> files = OptionParser().Parse(args, 0, OptionParser::kMany);
    return ForEachInput(
        files,
        [&](const std::string& name, TStream& in) {
            out << CountLinesInStream(in) << "\t" << name << "\n";
        },
        err);
}

int Tags(Args args, std::ostream& out, std::ostream&) {
    const std::vector<std::string> operands = OptionParser().Parse(args, 1, OptionParser::kMany);
    const std::unique_ptr<TStream> f = OpenSeekableInput(operands[0]);
    // The wanted names, then "" (the end of the file) and a last entry that no tag name can
    // equal, which the reader reports for every other tag.
    std::vector<String> list;
    for (const std::string& n : Args(operands).subspan(1))
        list.push_back(LowerCase(FromUtf8(n)));
    const auto atEnd = static_cast<std::int32_t>(list.size());
    list.push_back(u"");
    list.push_back(u"<other>");
    const std::int64_t size = f->Size();
    std::int64_t count = 0;
    for (;;) {
        const std::int64_t at = f->Position();
        String attr;
        String elem;
        const std::int32_t i = ReadNextTagInStream(*f, list, attr, elem);
        if (i == atEnd && f->Position() >= size) break;
        ++count;
        out << at << "\t" << (i < atEnd ? ToUtf8(list[static_cast<std::size_t>(i)]) : "-");
        if (!attr.empty()) out << "\tattributes: " << Printable(attr, 200);
        if (i < atEnd) out << "\ttext: \"" << Printable(elem, 60) << "\"";
        out << "\n";
    }
    out << count << " tags\n";
    return 0;
}

int ScanNumbers(Args args, std::ostream& out, std::ostream&) {
    bool comma = false, noExp = false;
    const std::vector<std::string> files =
        OptionParser().Flag("--comma", comma).Flag("--noexp", noExp).Parse(args, 0, 1);
    TMemoryStream m;
    ForEachBlock(*OpenInput(files.empty() ? std::string("-") : files[0]), [&m](std::string_view b) {
        m.WriteBuffer(b.data(), static_cast<std::int64_t>(b.size()));
    });
    m.SetPosition(0);
    const auto* bytes = static_cast<const unsigned char*>(std::as_const(m).Memory());
    const std::int64_t size = m.Size();
    while (m.Position() < size) {
        const std::int64_t from = m.Position();
        const double v = ScanStreamFPNum(m, !noExp, comma ? dpPointOrComma : dpPoint);
        // A failed scan also gives 0; only stretches that held a digit were numbers.
        bool digit = false;
        for (std::int64_t k = from; k < m.Position() && !digit; ++k)
            digit = bytes[k] >= '0' && bytes[k] <= '9';
        if (!digit) continue;
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", v);
        out << buf << "\n";
    }
    return 0;
}

void ShowStreams(std::ostream& out) {
    TStringStream s;
    WriteLnStream(s, u"# sample  \u0141=L (low byte only)");
    WriteStringStream(s, u"  42 -2.5E-3;");
    WriteDoubleToStream(s, 0.1);
    WriteLnStream(s, u"<!-- c --><label w=\"10\" name=\"a b\"/><data kind=\"x\">1 2</DATA>");
    s.SetPosition(0);
    bool eos = false;
    out << "ReadLnStream (CR LF): \"" << Printable(ReadLnStream(s, eos, 4), 60) << "\"\n";
    out << "ScanStreamDecimal: " << ScanStreamDecimal(s);
    out << ", ScanStreamFPNum: " << ScanStreamFPNum(s, true, dpPoint) << "\n";
    bool error = false;
    out << "ReadDoubleFromStream: " << ReadDoubleFromStream(s, error) << " (8 bytes, error "
        << std::boolalpha << error << ")\n";
    const std::vector<String> list{u"label", u"data"};
    for (int k = 0; k < 2; ++k) {
        String attr;
        String elem;
        const std::int32_t i = ReadNextTagInStream(s, list, attr, elem);
        out << "ReadNextTagInStream: index " << i << ", attributes [" << Printable(attr, 60)
            << "], element text \"" << Printable(elem, 60) << "\"";
        if (i == 0) out << ", name=\"" << Printable(ScanForXMLAttrib(attr, u"NAME"), 20) << "\"";
        out << "\n";
    }
    TStringStream u(std::string("abcENDdef"));
    std::int32_t code = 0;
    const String upTo = ReadStreamUntil(u, u"end", code);
    out << "ReadStreamUntil(\"abcENDdef\", \"end\") = \"" << Printable(upTo, 20) << "\", code "
        << code << ", left \"" << Printable(StreamAsByteString(u), 20) << "\"\n";
}

const RegisterCommand kRegisterLines(kLines);
const RegisterCommand kRegisterTags(kTags);
const RegisterCommand kRegisterScanNumbers(kScanNumbers);
const RegisterTourSection kSection({40, "Streams and tagged text", ShowStreams});

}  // namespace

}  // namespace qorkit::tool
