#include "csv_text.h"

#include <algorithm>
#include <cstdint>

#include "qorkit/core/lookup_tables.h"
#include "qorkit/rtl/codepage.h"
#include "qorkit/strings/tokens.h"

namespace qorkit::tool {

bool IsValidUtf8(std::string_view bytes) noexcept {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const std::uint8_t b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        std::size_t extra;
        std::uint32_t cp;
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
            cp = b & 0x1Fu;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
            cp = b & 0x0Fu;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            cp = b & 0x07u;
        } else {
            return false;  // a continuation byte on its own, C0/C1 (overlong) or F5..FF
        }
        if (static_cast<std::size_t>(end - p) <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((p[k] & 0xC0u) != 0x80u) return false;
            cp = (cp << 6) | (p[k] & 0x3Fu);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        p += extra + 1;
    }
    return true;
}

String DecodeTextBytes(std::string_view bytes, bool& utf8) {
    utf8 = IsValidUtf8(bytes);
    if (!utf8) return Win1252ToString(bytes);
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return FromUtf8(bytes);
}

std::vector<String> SplitLines(std::u16string_view text) {
    std::vector<String> lines;
    while (!text.empty()) {
        const std::size_t lf = text.find(u'\n');
        std::u16string_view line = text.substr(0, lf);
        if (line.ends_with(u'\r')) line.remove_suffix(1);
        lines.emplace_back(line);
        if (lf == std::u16string_view::npos) break;
        text.remove_prefix(lf + 1);
    }
    return lines;
}

std::vector<String> SplitCsvLine(std::u16string_view line, Char delim) {
    std::vector<String> fields;
    std::size_t i = 0;
    const std::size_t n = line.size();
    for (;;) {
        String field;
        if (i < n && line[i] == u'"') {
            ++i;
            while (i < n) {
                if (line[i] == u'"') {
                    if (i + 1 < n && line[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
        }
        while (i < n && line[i] != delim)
            field += line[i++];
        fields.push_back(std::move(field));
        if (i >= n) break;
        ++i;  // the delimiter; a delimiter at the very end leaves one more empty field
    }
    return fields;
}

String FormatCsvField(std::u16string_view field, Char delim) {
    const bool quote = field.find(delim) != std::u16string_view::npos ||
                       field.find(u'"') != std::u16string_view::npos ||
                       (!field.empty() && (field.front() == u' ' || field.back() == u' '));
    if (!quote) return String(field);
    String out = u"\"";
    for (const Char c : field) {
        if (c == u'"') out += u'"';
        out += c;
    }
    out += u'"';
    return out;
}

String FormatCsvLine(const std::vector<String>& fields, Char delim) {
    String line;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (k > 0) line += delim;
        line += FormatCsvField(fields[k], delim);
    }
    return line;
}

CsvFile ParseCsv(std::u16string_view text, std::optional<Char> delim) {
    CsvFile csv;
    const std::vector<String> lines = SplitLines(text);
    if (delim)
        csv.delim = *delim;
    else if (!lines.empty()) {
        const TCSVDelimiters kind = DetectCSVDelimiter(lines.front());
        if (kind != csvUnknown) csv.delim = CSVDELIMITERS[kind];
    }
    for (const String& line : lines) {
        csv.records.push_back(SplitCsvLine(line, csv.delim));
        csv.columns = std::max(csv.columns, csv.records.back().size());
    }
    return csv;
}

bool ParseDelimiterOption(const std::string& value, Char& delim) {
    if (value == "tab") {
        delim = u'\t';
        return true;
    }
    const String d = FromUtf8(value);
    if (d.size() != 1 || d[0] == u'"' || d[0] == u'\n' || d[0] == u'\r') return false;
    delim = d[0];
    return true;
}

}  // namespace qorkit::tool
