// Reading and writing delimiter-separated text (CSV) for the qorkit tool.
//
// The dialect: one record per line (LF or CR LF); a field that starts with a double quote runs
// to the matching closing quote, with "" standing for one quote inside it, and may hold the
// delimiter. A quoted field cannot span lines: an unterminated quote ends at the line end.
// Text after a closing quote up to the next delimiter is kept as it is; a quote inside an
// unquoted field is an ordinary character.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qorkit/rtl/system.h"

namespace qorkit::tool {

/// True when `bytes` is well-formed UTF-8 (no overlong forms, no encoded surrogates, nothing
/// above U+10FFFF).
bool IsValidUtf8(std::string_view bytes) noexcept;

/// Decodes the bytes of a text file: as UTF-8 when they are valid UTF-8 (a leading byte-order
/// mark is dropped), otherwise as Windows-1252, which accepts any byte. `utf8` tells which.
String DecodeTextBytes(std::string_view bytes, bool& utf8);

/// The lines of `text`, split at LF with a CR before it removed. A final line end does not
/// start another line, so an empty text has no lines.
std::vector<String> SplitLines(std::u16string_view text);

/// The fields of one line, split at `delim` (see the dialect above). An empty line is one
/// empty field.
std::vector<String> SplitCsvLine(std::u16string_view line, Char delim);

/// One field as written: quoted when it contains the delimiter or a quote or starts or ends
/// with a blank, with quotes inside doubled.
String FormatCsvField(std::u16string_view field, Char delim);

/// The fields joined by `delim`, each formatted by `FormatCsvField`, without a line end.
String FormatCsvLine(const std::vector<String>& fields, Char delim);

/// A CSV file split into records.
struct CsvFile {
    Char delim = u',';
    std::vector<std::vector<String>> records;
    std::size_t columns = 0;  ///< fields of the longest record
};

/// Splits decoded text into records. The delimiter is `delim` when given, else the one that
/// `DetectCSVDelimiter` finds on the first line (a blank wins over a comma on a tie), else ",".
CsvFile ParseCsv(std::u16string_view text, std::optional<Char> delim);

/// The value of a `--delim` option: one character other than a quote or a line end, or "tab".
/// False for anything else.
bool ParseDelimiterOption(const std::string& value, Char& delim);

}  // namespace qorkit::tool
