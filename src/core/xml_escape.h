// Escaping of text into pure-ASCII XML and the reverse, shared by every file format of the
// library that stores free text inside XML-like elements.
#pragma once

#include <cstddef>
#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit::detail {

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

}  // namespace qorkit::detail
