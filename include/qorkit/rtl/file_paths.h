// Splitting file names into folder, name and extension, and making them absolute.
#pragma once

#include "qorkit/rtl/system.h"

namespace qorkit {

/// The separator the library puts between path components: "/" on POSIX, "\" on Windows.
/// Every function that takes a path accepts both "\" and "/" as separators.
inline constexpr Char PathDelim = u'/';

/// Everything up to and including the last "\", "/" or ":" of `FileName`; empty when it holds
/// none. Example: ExtractFilePath(u"C:\\x\\a.txt") == u"C:\\x\\".
String ExtractFilePath(std::u16string_view FileName);
/// The text after the last "\", "/" or ":" (all of `FileName` when it holds none).
String ExtractFileName(std::u16string_view FileName);
/// The extension of the file name: from its last point, point included ("a.tar.gz" gives
/// ".gz", "name." gives "."); empty when the name has no point. Points in the folder part
/// never count.
String ExtractFileExt(std::u16string_view FileName);

/// The absolute form of `FileName`: relative names are taken from the current folder, "\"
/// becomes `PathDelim`, "." components and empty components are dropped and ".." removes the
/// component before it (never climbing above the root). A trailing separator is kept.
/// Symbolic links are not followed: the result is computed from the text alone. An empty
/// name gives an empty result. Drive letters have no meaning here ("C:\x" is a relative name
/// whose first component is "C:").
String ExpandFileName(std::u16string_view FileName);

}  // namespace qorkit
