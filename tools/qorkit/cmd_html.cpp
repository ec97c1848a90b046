// HTML subcommands (html fill, html text, urlencode, urldecode) and the tour section about
// HTML support.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>
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

// Runs a CLI11 parser over `args`: "--help" prints the help to `out` (exit 0), a usage error
// prints one line and the usage to `err` (exit 2). Returns -1 when the command should go on.
int Parse(CLI::App& app, Args args, std::string_view what, std::string_view usage,
          std::ostream& out, std::ostream& err) {
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them reversed
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::ParseError& e) {
        err << "qorkit: " << what << ": " << e.what() << "; usage: " << usage << "\n";
        return 2;
    }
    return -1;
}

// The whole of `name` (or standard input for "-"), decoded as UTF-8 when valid, else as
// Windows-1252. On failure reports the reason and returns false.
bool ReadText(const std::string& name, String& text, std::string_view what, std::ostream& err) {
    std::string bytes;
    if (name == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        if (std::cin.bad()) {
            err << "qorkit: " << what << ": standard input: read error\n";
            return false;
        }
    } else {
        errno = 0;
        if (!ReadFileBytes(name, bytes)) {
            std::error_code ec;
            const char* reason = std::filesystem::is_directory(name, ec) ? std::strerror(EISDIR)
                                 : errno != 0                            ? std::strerror(errno)
                                                                         : "read error";
            err << "qorkit: " << what << ": " << name << ": " << reason << "\n";
            return false;
        }
    }
    bool utf8 = false;
    text = DecodeTextBytes(bytes, utf8);
    return true;
}

// Output ends with a check that it reached its destination.
int Finish(std::ostream& out, std::ostream& err, std::string_view what) {
    out.flush();
    if (!out) {
        err << "qorkit: " << what << ": standard output: write error\n";
        return 1;
    }
    return 0;
}

int Fill(Args args, std::ostream& out, std::ostream& err) {
    constexpr std::string_view usage =
        "qorkit html fill [--raw] [--strict] TEMPLATE [NAME=VALUE]...";
    CLI::App app("Fills the <#NAME ...> tags of an HTML template and prints the page.",
                 "qorkit html fill");
    bool raw = false;
    bool strict = false;
    std::string templ;
    std::vector<std::string> pairs;
    app.add_flag("--raw", raw, "insert the values as they are (default: escaped for HTML)");
    app.add_flag("--strict", strict, "fail when a tag of the template has no value");
    app.add_option("TEMPLATE", templ, "template file (- for standard input)")->required();
    app.add_option("NAME=VALUE", pairs, "text for the tags <#NAME ...> (NAME in any case)");
    if (const int rc = Parse(app, args, "html fill", usage, out, err); rc >= 0) return rc;

    std::map<String, String> values;
    for (const std::string& p : pairs) {
        const std::size_t eq = p.find('=');
        if (eq == 0 || eq == std::string::npos) {
            err << "qorkit: html fill: '" << p << "' is not NAME=VALUE; usage: " << usage << "\n";
            return 2;
        }
        const String value = FromUtf8(p.substr(eq + 1));
        values[LowerCase(FromUtf8(p.substr(0, eq)))] =
            raw ? value : MakeStringHTMLCompatible(value);
    }
    String text;
    if (!ReadText(templ, text, "html fill", err)) return 1;

    THtmlProducer producer;
    producer.SetTemplate(text);
    String missing;
    producer.SetOnHTMLTag([&](TObject*, const String& name, const String&, String& r) {
        const auto it = values.find(name);
        if (it != values.end())
            r = it->second;
        else if (missing.empty())
            missing = r;
    });
    producer.Convert();
    if (strict && !missing.empty()) {
        err << "qorkit: html fill: no value for the tag " << ToUtf8(missing) << "\n";
        return 1;
    }
    out << ToUtf8(producer.ConvertedHTML());
    return Finish(out, err, "html fill");
}

int Text(Args args, std::ostream& out, std::ostream& err) {
    constexpr std::string_view usage = "qorkit html text [--flat] FILE";
    CLI::App app("Prints the body of an HTML page as plain text.", "qorkit html text");
    bool flat = false;
    std::string name;
    app.add_flag("--flat", flat, "the whole text as one line");
    app.add_option("FILE", name, "HTML file (- for standard input)")->required();
    if (const int rc = Parse(app, args, "html text", usage, out, err); rc >= 0) return rc;
    String html;
    if (!ReadText(name, html, "html text", err)) return 1;
    const String text = ConvertHTMLBodyToText(ExtractHTMLBody(html), !flat);
    if (!text.empty()) out << ToUtf8(ReplaceStringInString(text, u"\r\n", u"\n", false)) << "\n";
    return Finish(out, err, "html text");
}

int Html(Args args, std::ostream& out, std::ostream& err) {
    const char* usage =
        "usage: qorkit html fill [--raw] [--strict] TEMPLATE [NAME=VALUE]...\n"
        "       qorkit html text [--flat] FILE\n";
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        out << usage;
        return 0;
    }
    if (!args.empty() && args[0] == "fill") return Fill(args.subspan(1), out, err);
    if (!args.empty() && args[0] == "text") return Text(args.subspan(1), out, err);
    err << "qorkit: html: "
        << (args.empty() ? std::string("missing subcommand")
                         : "unknown subcommand '" + args[0] + "'")
        << "; usage: qorkit html fill|text ...\n";
    return 2;
}

// urlencode and urldecode: each TEXT gives one output line; "-" stands for the lines of
// standard input.
int CodeTexts(Args args, bool decode, std::ostream& out, std::ostream& err) {
    const char* what = decode ? "urldecode" : "urlencode";
    const std::string_view usage = decode ? kUrlDecode.Usage : kUrlEncode.Usage;
    CLI::App app(decode ? "Decodes the %hh escapes of each TEXT (two passes)."
                        : "Percent-codes the URL-reserved characters of each TEXT.",
                 std::string("qorkit ") + what);
    bool utf8 = false;
    std::vector<std::string> texts;
    if (decode) app.add_flag("--utf8", utf8, "take the decoded codes as UTF-8 bytes");
    app.add_option("TEXT", texts, "text to code (- for the lines of standard input)")->required();
    if (const int rc = Parse(app, args, what, usage, out, err); rc >= 0) return rc;
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
        if (std::cin.bad()) {
            err << "qorkit: " << what << ": standard input: read error\n";
            return 1;
        }
    }
    return Finish(out, err, what);
}

int UrlEncodeCmd(Args args, std::ostream& out, std::ostream& err) {
    return CodeTexts(args, false, out, err);
}
int UrlDecodeCmd(Args args, std::ostream& out, std::ostream& err) {
    return CodeTexts(args, true, out, err);
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
