// URL helpers: the directory part of a URL, and percent coding.
#pragma once

#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// The host and directory part of `Url`: when `Url` holds "http://" (in any A-Z case),
/// everything up to and including its first occurrence is removed; then everything after the
/// last "/" is removed, the "/" itself kept. No other scheme is recognised ("https://" stays
/// in front). A bare host with no "/" after a removed "http://" is its own root and gets a
/// "/" appended; a text that has no "/" and had no "http://" (a file name, the empty text)
/// has no directory part and gives the empty string.
/// Example: ExtractHTTPPath(u"http://example.org/docs/index.html") == u"example.org/docs/".
String ExtractHTTPPath(std::u16string_view Url);

/// `S` with each of the 20 characters ! * ' ( ) ; : @ & = + $ , / ? % # [ ] and the blank
/// replaced by "%" and its code in two upper-case hexadecimal digits; every other character,
/// those beyond ASCII included, is copied unchanged. URLEncode(u"a b&c") == u"a%20b%26c".
String URLEncode(std::u16string_view S);

/// `S` decoded twice: each pass replaces "%" followed by two hexadecimal digits (either case)
/// by the character with that code (U+0000..U+00FF; the bytes of a UTF-8 sequence stay
/// separate characters) and copies any other "%" as it is. Because of the second pass,
/// URLDecode(u"%2541") == u"A"; URLDecode(u"%zz") == u"%zz". Never raises.
String URLDecode(std::u16string_view S);

}  // namespace qorkit
