// Characters and HTML entities: escaping text for HTML and resolving entities back.
#pragma once

#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// The HTML form of one character: "&amp;", "&lt;", "&gt;", "&quot;" and "&#39;" for the
/// markup characters, the named entity of `HTMLLat1Entities` for 160..255 ("&eacute;" for
/// U+00E9), a decimal character reference for every other character from 127 on ("&#8364;"
/// for the euro sign) and the character itself below 127. A surrogate code unit cannot form a
/// character on its own and is returned as it is. Example: AnsiToHTMLEntity(u'<') == u"&lt;".
String AnsiToHTMLEntity(Char C);

/// `S` made safe as HTML text and as a quoted attribute value: every character is replaced as
/// `AnsiToHTMLEntity` replaces it, a surrogate pair becomes one reference to its code point
/// ("&#128512;") and an unpaired surrogate is copied as it is. The result is pure ASCII apart
/// from unpaired surrogates, so it survives any 8-bit file, and
/// ResolveHTMLEntities(MakeStringHTMLCompatible(s)) == s for every string.
/// Example: MakeStringHTMLCompatible(u"a<b & \"ü\"") == u"a&lt;b &amp; &quot;&uuml;&quot;".
String MakeStringHTMLCompatible(std::u16string_view S);

/// `S` with its entities replaced, in one pass from left to right: the named Latin-1 entities
/// of `HTMLLat1Entities` and "&amp;", "&lt;", "&gt;", "&quot;", "&apos;" (names compare with
/// case), decimal ("&#233;") and hexadecimal ("&#xE9;", "&#XE9;") character references to
/// U+0001..U+10FFFF outside the surrogates (characters beyond U+FFFF become surrogate pairs).
/// An entity needs its closing ";". Anything else, unknown names, references to 0, to
/// surrogates or beyond U+10FFFF included, stays as it is; a replaced text is never looked at
/// again ("&amp;lt;" gives "&lt;"). Never raises.
String ResolveHTMLEntities(std::u16string_view S);

/// The text that one entity stands for: `Entity` may be written with or without its "&" and
/// ";" ("&auml;", "auml;", "auml", "&#228;", "#xE4"), and is resolved by the rules of
/// `ResolveHTMLEntities`. The result is one character (two code units beyond U+FFFF), or empty
/// when `Entity` is no known entity. Example: HTMLEntityToAnsi(u"&copy;") == u"\u00A9".
String HTMLEntityToAnsi(std::u16string_view Entity);

}  // namespace qorkit
