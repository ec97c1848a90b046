// Transliteration: German special letters to Latin digraphs, reduction to safe characters and
// resolution of backslash escapes.
#pragma once

#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// `S` with the German special letters spelt out: ä ö ü ß become "ae", "oe", "ue", "ss";
/// Ä Ö Ü become "Ae", "Oe", "Ue" before a lower-case letter a to z and "AE", "OE", "UE"
/// otherwise (also at the end); the micro sign µ (181) becomes "u". "Äpfel" gives "Aepfel",
/// "ÄRGER" gives "AERGER", "Maß" gives "Mass".
String ExpandDiphthongs(std::u16string_view S);
/// `S` with every character other than "0" to "9", "A" to "Z" and "a" to "z" replaced by "_";
/// the length is kept.
String ReduceStringToAZ09(std::u16string_view S);
/// `S` with every character that is unsafe in an 8.3 file name replaced by "_", the length
/// kept. Safe are "0" to "9", "A" to "Z", "a" to "z" and ! # $ % & ' ( ) - . @ ^ _ ` { } ~;
/// blanks, control characters, " * + , / : ; < = > ? [ \ ] |, code 127 and everything above
/// 127 are replaced.
String ReduceStringToFN83CompliantChars(std::u16string_view S);
/// Resolves escapes, left to right: "\#hh" becomes the character with the hexadecimal code hh
/// (0 to 255; leading blanks are skipped and reading stops at the first non-hex character, so
/// "\#4G" gives character 4 and "\#GG" character 0; when fewer than two characters follow the
/// "#", those present are read and removed); "\\" becomes "\", and the character after it is
/// not taken as the start of an escape; a "\" before any other character, or at the end,
/// stays as it is. A character produced by an escape is never read again as part of one:
/// ProcessHexChars(u"A\\#41\\\\#42") == u"AA\\#42".
String ProcessHexChars(std::u16string_view S);

}  // namespace qorkit
