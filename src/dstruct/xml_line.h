// The one-element-per-line XML layout shared by the data structures' persistence: escaping of
// text into pure-ASCII XML, the reverse, and taking apart a line `<name attrs>text</name>`.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "../core/tag_reader_core.h"
#include "qorkit/rtl/system.h"

namespace qorkit::detail {

/// True when `a` and `b` are equal after folding A to Z.
bool SameIgnoringAZ(std::u16string_view a, std::u16string_view b) noexcept;

/// Cuts blanks, tabs and other control characters off both ends, so a stray CR before the
/// line end does not spoil a line.
std::u16string_view TrimLine(std::u16string_view s) noexcept;
/// Cuts blanks and tabs off both ends.
std::u16string_view TrimBlanksAndTabs(std::u16string_view s) noexcept;

/// Appends the decimal text of `v`.
void AppendDecimal(String& out, std::int64_t v);

/// True for the characters that XML cannot carry even as a character reference: control
/// characters other than tab, LF and CR, unpaired surrogates, U+FFFE and U+FFFF.
bool HasXmlForbidden(std::u16string_view text) noexcept;

/// Appends `text` as element or attribute text in pure ASCII: 0x20..0x7E stand for themselves
/// except `&`, `<`, `>` and `"`, every other character (a surrogate pair as one) becomes a
/// hexadecimal character reference such as "&#x20AC;". Forbidden characters (see
/// `HasXmlForbidden`) are written as references too; callers that need well-formed XML use a
/// hexadecimal form for such texts.
void AppendXmlEscaped(String& out, std::u16string_view text);

/// Decodes escaped text: `&amp; &lt; &gt; &quot; &apos;`, decimal and hexadecimal character
/// references (code points above U+FFFF become surrogate pairs) and literal characters.
/// False for an unknown "&" sequence, a literal "<" or ">", a reference to 0 or beyond
/// U+10FFFF, or a result longer than `MaxLen` characters.
bool XmlUnescape(std::u16string_view text, std::size_t MaxLen, String& out);

/// The value of hexadecimal digit `c`; -1 for other characters.
int HexDigit(Char c) noexcept;

/// Plain decimal digits, at least one, no sign and no blanks, within 0..`Max`.
bool ParseDecimal(std::u16string_view s, std::int64_t Max, std::int64_t& v) noexcept;

/// One body line taken apart: `<name attrs>content</name>`.
struct TElementLine {
    String Name;  ///< lower-cased A to Z
    String Attrs;
    std::u16string_view Content;
};

/// Splits a trimmed line `<name attrs>content</name>` (end tag name A-Z case ignored).
bool SplitElementLine(std::u16string_view line, TElementLine& e);

/// True when the trimmed `line` is a start tag `<Name ...>` whose attribute "sig" is
/// `Signature` and, unless `WantedId` is empty, whose unescaped attribute "id" equals
/// `WantedId`, both A to Z case ignored. `Attrs` receives the tag's attribute text.
bool IsStartLine(std::u16string_view line, std::u16string_view Name, std::u16string_view Signature,
                 std::u16string_view WantedId, String& Attrs);

}  // namespace qorkit::detail
