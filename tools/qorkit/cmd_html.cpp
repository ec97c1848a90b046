// HTML subcommands (html fill, html text, urlencode, urldecode) and the tour section about
// HTML support.
#include <iostream>

#include <map>
#include <string>
#include <vector>

#include "command.h"
#include "csv_text.h"
#include "qorkit/qorkit.h"

namespace qorkit::tool {

namespace {

int Html(Args args, std::ostream& out, std::ostream& err);
int UrlEncodeCmd(Args args, std::ostream& out, std::ostream& err);
int UrlDecodeCmd(Args args, std::ostream& out, std::ostream& err);

const Command kHtml{"html",
                    "qorkit html fill [--raw] [--strict] TEMPLATE NAME=VALUE...\n"
                    "qorkit html text [--flat] FILE",
                    "fill an HTML template's <#name> tags; show a page's body as text", Html,
                    "  --raw     insert the values as they are (default: escaped for HTML)\n"
                    "  --strict  fail when a tag of the template has no value\n"
                    "  --flat    the page's text as one line\n"
                    "  TEMPLATE, FILE may be - for standard input\n"};
const Command kUrlEncode{"urlencode", "qorkit urlencode TEXT...",
                         "percent-code the URL-reserved characters of each TEXT (- reads lines)",
                         UrlEncodeCmd};
const Command kUrlDecode{"urldecode", "qorkit urldecode [--utf8] TEXT...",
                         "decode %hh escapes in each TEXT, twice (- reads lines)", UrlDecodeCmd};

// The whole of `name` (or standard input for "-"), decoded as UTF-8 when valid, else as
// Windows-1252. Throws `Failure` with the system's reason when it cannot be read.
String ReadText(const std::string& name) {
    bool utf8 = false;
    return DecodeTextBytes(ReadInputBytes(name), utf8);
}

int Fill(Args args, std::ostream& out) {
    bool raw = false;
    bool strict = false;
    const std::vector<std::string> operands = OptionParser()
                                                  .Flag("--raw", raw)
                                                  .Flag("--strict", strict)
                                                  .Parse(args, 1, OptionParser::kMany);
    std::map<String, String> values;
    for (std::size_t i = 1; i < operands.size(); ++i) {
        const std::string& p = operands[i];
        const std::size_t eq = p.find('=');
        if (eq == 0 || eq == std::string::npos) throw UsageFailure("'" + p + "' is not NAME=VALUE");
        const String value = FromUtf8(p.substr(eq + 1));
        values[LowerCase(FromUtf8(p.substr(0, eq)))] =
            raw ? value : MakeStringHTMLCompatible(value);
    }
    THtmlProducer producer;
    producer.SetTemplate(ReadText(operands[0]));
    String missing;
    producer.SetOnHTMLTag([&](TObject*, const String& name, const String&, String& r) {
        const auto it = values.find(name);
        if (it != values.end())
            r = it->second;
        else if (missing.empty())
            missing = r;
    });
    producer.Convert();
    if (strict && !missing.empty()) throw Failure("no value for the tag " + ToUtf8(missing));
    out << ToUtf8(producer.ConvertedHTML());
    return 0;
}

int Text(Args args, std::ostream& out) {
    bool flat = false;
    const std::vector<std::string> file = OptionParser().Flag("--flat", flat).Parse(args, 1, 1);
    const String text = ConvertHTMLBodyToText(ExtractHTMLBody(ReadText(file[0])), !flat);
    if (!text.empty()) out << ToUtf8(ReplaceStringInString(text, u"\r\n", u"\n", false)) << "\n";
    return 0;
}

int Html(Args args, std::ostream& out, std::ostream&) {
    if (args.empty()) throw UsageFailure("missing subcommand (fill or text)");
    if (args[0] == "fill") return Fill(args.subspan(1), out);
    if (args[0] == "text") return Text(args.subspan(1), out);
    throw UsageFailure("unknown subcommand '" + args[0] + "'");
}

// urlencode and urldecode: each TEXT gives one output line; "-" stands for the lines of
// standard input.
int CodeTexts(Args args, bool decode, std::ostream& out) {
    bool utf8 = false;
    OptionParser parser;
    if (decode) parser.Flag("--utf8", utf8);
    const std::vector<std::string> texts = parser.Parse(args, 1, OptionParser::kMany);
    const auto code = [&](const std::string& line) {
        const String s = FromUtf8(line);
        if (!decode) return ToUtf8(URLEncode(s));
        const String d = URLDecode(s);
        if (!utf8) return ToUtf8(d);
        // Codes up to 255 are bytes; anything above came in unchanged and stays a character.
        std::string bytes;
        for (const Char c : d) {
            if (c < 256)
                bytes.push_back(static_cast<char>(c));
            else
                bytes += ToUtf8(std::u16string_view(&c, 1));
        }
        return ToUtf8(FromUtf8(bytes));
    };
    for (const std::string& t : texts) {
        if (t != "-") {
            out << code(t) << "\n";
            continue;
        }
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            out << code(line) << "\n";
        }
        if (std::cin.bad()) throw Failure("standard input: read error");
    }
    return 0;
}

int UrlEncodeCmd(Args args, std::ostream& out, std::ostream&) {
    return CodeTexts(args, false, out);
}
int UrlDecodeCmd(Args args, std::ostream& out, std::ostream&) {
    return CodeTexts(args, true, out);
}

const RegisterCommand kRegisterHtml(kHtml);
const RegisterCommand kRegisterUrlEncode(kUrlEncode);
const RegisterCommand kRegisterUrlDecode(kUrlDecode);

void ShowHtml(std::ostream& out) {
    THtmlProducer producer;
    producer.SetTemplate(u"<p>Report of <#date>, by <#author style=short>.</p>");
    producer.SetOnHTMLTag([](TObject*, const String& name, const String& params, String& r) {
        if (name == u"date") r = u"1 May";
        if (name == u"author") r = MakeStringHTMLCompatible(u"Smith & \"Sons\" (" + params + u")");
    });
    out << "Template:  " << ToUtf8(producer.Template()) << "\n";
    out << "Converted: " << ToUtf8(producer.Convert()) << "\n";
    const String escaped = MakeStringHTMLCompatible(u"5 < 7 & \u00E9t\u00E9 \u20AC");
    out << "MakeStringHTMLCompatible(\"5 < 7 & \u00E9t\u00E9 \u20AC\") = " << ToUtf8(escaped)
        << "\n  resolved back: " << ToUtf8(ResolveHTMLEntities(escaped)) << "\n";
    out << "ConvertHTMLBodyToText: \""
        << ToUtf8(ConvertHTMLBodyToText(u"<h1>Title</h1><p>One&nbsp;&amp; <b>two</b></p>", false))
        << "\"\n";
    bool inTag = false;
    out << "CountWordsHTML(\"<b>Hello</b> world 2024 \", skip numbers) = "
        << CountWordsHTML(u"<b>Hello</b> world 2024 ", true, inTag) << "\n";
    out << "URLEncode(\"a b&c\") = " << ToUtf8(URLEncode(u"a b&c"))
        << ", URLDecode(\"%2541\") = " << ToUtf8(URLDecode(u"%2541")) << "\n";
    out << "ExtractHTTPPath(\"http://example.org/docs/index.html\") = "
        << ToUtf8(ExtractHTTPPath(u"http://example.org/docs/index.html")) << "\n";
}

const RegisterTourSection kSection({100, "HTML support", ShowHtml});

}  // namespace

}  // namespace qorkit::tool
