// Cutting strings into tokens, fields, words and lines.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "qorkit/core/types.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// A dynamic array of strings (zero-based); the result type of `Tokenize`.
using TOpenStringArray = std::vector<String>;

/// States of the quoted-name reader `ParseQuotedName`, in the order a name passes them.
enum TQuotedStrState : std::uint8_t { vsStart, vs1stQuote, vsQuote, vsNormal, vsEnd };

/// Cuts `s` at every occurrence of `delimiter` into `tokens` and returns their number: the
/// number of delimiters plus one, at most 1000 (the last token then holds the uncut rest).
/// Empty tokens are kept ("a,,b" gives "a", "", "b"); a trailing delimiter gives an empty last
/// token; an empty `delimiter` never matches (one token, `s`).
std::int32_t Tokenize(std::u16string_view s, std::u16string_view delimiter,
                      TOpenStringArray& tokens);

/// As `Tokenize`, but a delimiter directly preceded by `escape` does not cut. In each token a
/// doubled escape character then becomes one, and an escape character followed by the
/// delimiter becomes the delimiter ("a\;b;c" with ";" and '\' gives "a;b" and "c").
std::int32_t Tokenize(std::u16string_view s, std::u16string_view delimiter, Char escape,
                      TOpenStringArray& tokens);

/// Field `n` (from 0) of `s` cut at `delimiter`; empty for n < 0, an empty `s`, an empty field
/// and when `s` has fewer fields. A field that starts with the delimiter (compared without
/// regard to case by the library's Unicode case table) is empty. With an empty `delimiter`
/// field 0 is `s` and every other field is empty. ExtractSubString(u"a,b,c", 1, u",") == u"b".
String ExtractSubString(std::u16string_view s, std::int32_t n, std::u16string_view delimiter);

/// The word of `s` around position `position` (from 1), bounded by characters of `WordSeps`
/// (codes 0..255 only) or the ends of `s`; a separator at the position is returned alone;
/// a position outside `s` gives "". ExtractWordFromString(u"hello world", 3) == u"hello".
String ExtractWordFromString(std::u16string_view s, std::int32_t position);

/// As above; `first` and `last` receive the word's first and last positions (both the position
/// itself for a separator, both 0 for a position outside `s`).
String ExtractWordFromString(std::u16string_view s, std::int32_t position, std::int32_t& first,
                             std::int32_t& last);

/// The text after the first occurrence of `trigger` in `s`, or "" without one (an empty
/// trigger never occurs); `strip` removes blanks from both ends of the result.
String ExtractAfterTrigger(std::u16string_view s, std::u16string_view trigger, bool strip);

/// The text before the first occurrence of `trigger` in `s`, or "" without one.
String ExtractBeforeTrigger(std::u16string_view s, std::u16string_view trigger, bool strip);

/// Splits `s` at the first occurrence of `separator` into `left` and `right`; both are empty
/// without one. `strip` removes blanks from both ends of each part.
void SplitString(std::u16string_view s, std::u16string_view separator, bool strip, String& left,
                 String& right);

/// Reads one line of `s` from `position` (from 1; values below 1 count as 1) and moves
/// `position` past what it consumed. Characters from code 32 on are collected; control
/// characters are dropped, and one of them ends the line by `mode`: 0 a line feed, 1 a carriage
/// return, 2 either, 3 a carriage return right after a line feed, 4 a line feed right after a
/// carriage return (so CR LF ends the line and a lone LF is dropped), any other never.
/// `atEnd` is set when the end of `s` was reached before a line end.
String ReadLnString(std::u16string_view s, std::int32_t& position, bool& atEnd, std::int32_t mode);

/// Position (from 1) of the first element of `list` equal to `s`, or 0.
std::int32_t StringIx(std::u16string_view s, std::span<const String> list);
/// As above for a braced list: StringIx(u"b", {u"a", u"b"}) == 2.
std::int32_t StringIx(std::u16string_view s, std::initializer_list<std::u16string_view> list);
/// As above; without `exact` both sides are compared with A to Z folded to lower case.
std::int32_t StringIx(std::u16string_view s, bool exact, std::span<const String> list);
/// As above for a braced list.
std::int32_t StringIx(std::u16string_view s, bool exact,
                      std::initializer_list<std::u16string_view> list);

/// The delimiter kind whose character occurs most often in `s` (kinds in enumeration order, a
/// later kind needing a strictly higher count); `csvUnknown` when none occurs.
TCSVDelimiters DetectCSVDelimiter(std::u16string_view s);

/// Reads a possibly quoted name one character at a time: call it with `state == vsStart` and
/// an empty `name`, then with each following character while it returns true. Blanks and
/// control characters before the name are skipped. A name that starts with `quote` runs to
/// the next lone `quote`, a doubled `quote` inside standing for one ('a''b' gives a'b); any
/// other name runs up to the first blank or control character. States: `vs1stQuote` inside the
/// quotes, `vsQuote` just after a quote inside them (closing, or the first of a pair),
/// `vsNormal` inside an unquoted name, `vsEnd` finished. Returns whether `c` was consumed: the
/// blank that ends an unquoted name is; the character after a closing quote is not (the state
/// becomes `vsEnd` and the caller still owns the character). At the end of the input a name
/// in state `vsQuote` or `vsNormal` is complete, one in `vs1stQuote` lacks its closing quote.
bool ParseQuotedName(Char c, Char quote, String& name, TQuotedStrState& state);

/// Parameter `index` (from 1) of the list `s` whose parameters are separated by `delimiter`:
/// blanks around a parameter are removed, and a parameter enclosed in `quote` characters is
/// taken literally (delimiters included, a doubled `quote` standing for one, the quotes
/// removed). Returns `deflt` when there is no such parameter (index < 1 or beyond the last);
/// an empty parameter that exists gives "". ExtractParam(u"a, 'b,c' ,d", 2, u',', u'\'', u"?")
/// == u"b,c".
String ExtractParam(std::u16string_view s, std::int32_t index, Char delimiter, Char quote,
                    std::u16string_view deflt);

/// Line and column (both from 1) of character position `position` (from 1) in a multi-line
/// text. A line ends at LF, at CR, or at a CR LF pair (which counts as one line end); the line
/// end belongs to the line it ends. A position below 1 counts as 1, one beyond the end gives
/// the place just after the last character; `line` and `col` are 0 for an empty text.
void TextLineCoords(std::u16string_view s, std::int32_t position, std::int32_t& line,
                    std::int32_t& col);

}  // namespace qorkit
