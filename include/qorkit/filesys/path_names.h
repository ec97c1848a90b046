// Taking file paths apart, testing file names and building new ones. These are pure string
// functions: they never touch the file system and give the same answers on every platform.
// Paths follow the drive-letter conventions ("C:\dir\name.ext"); "/" counts as a separator
// wherever "\" does, except in the 8.3 tests, where "/" is not an allowed character.
#pragma once

#include <cstdint>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// `Path` without the extension of its file name: the last point of the name and everything
/// after it go; points in the folder part are never touched. A name whose only point is its
/// first character becomes empty. Example: StripExtension(u"C:\\x\\a.b.c") == u"C:\\x\\a.b".
String StripExtension(const String& Path);
/// The file-name part of `Path` (`ExtractFileName`).
String StripPath(const String& Path);
/// The parent folder of `Path` with its trailing separator: "C:\a\b\" and "C:\a\b.txt" both
/// give "C:\a\"; "C:\" and "abc" give an empty string.
String ParentDir(const String& Path);
/// True for a drive root: after A-Z folding and trimming blanks, at most 3 characters with
/// ":\" at position 2 ("c:\", " C:\ "); "c:", "c:/", "\\" and "/" are not roots.
bool IsRootDir(const String& Path);
/// The drive index of `Path`: 0 for "A:" to 25 for "Z:" (either case) when the second
/// character is a colon, 0 as well when the character before the colon is not a letter
/// ("1:"), and -1 for anything else (paths shorter than two characters, POSIX paths).
std::int32_t ExtractDrive(const String& Path);
/// Shortens `Path` for display by replacing folder names, from the first one on, by "..",
/// while the path is at least `MaxLen` characters long. The separator is "\" when the path
/// holds one, else "/"; a path with neither comes back unchanged. The file name after the
/// last separator is never shortened, so the result may stay longer than `MaxLen`; folder
/// names of at most two characters are kept, as ".." would not shorten them.
/// Example: AbridgeFilePath(u"C:\\Program Files\\Vendor\\App\\data.txt", 30) ==
/// u"C:\\..\\Vendor\\App\\data.txt".
String AbridgeFilePath(const String& Path, std::int32_t MaxLen);
/// True when every character of `Path` may appear in an 8.3 path: "!#$%&'()-.", digits, ":",
/// "@", A-Z, a-z, "\", "^_`{}~". An empty path is compliant.
bool IsFN83CompliantPath(const String& Path);
/// True when `Path` is compliant (`IsFN83CompliantPath`) and every folder name has at most 8
/// characters; in the last component the name before a point has at most 8 characters and
/// the text after the last point at most 3 (without a point: at most 8).
/// Example: IsDOS83Path(u"C:\\DOCUMENT\\README.TXT") is true, u"C:\\LONGNAME9\\A.TXT" false.
bool IsDOS83Path(const String& Path);
/// `FileName` with each of the characters "/<>?\|*:" replaced by `Replacement`; a name "."
/// becomes `Replacement` once and ".." twice.
String ReplaceInvalidFileNameChars(const String& FileName, Char Replacement);
/// True when `FileName` holds none of "/<>?\|*:" and is neither "." nor ".."; an empty name
/// counts as valid (the double quote is allowed).
bool IsValidFileName(const String& FileName);
/// Inserts `Text` before the first point of the file name of `FileName`, or appends it when
/// the name has no point: (u"_1", u"archive.tar.gz") gives u"archive_1.tar.gz".
String InsertBeforeFileExt(const String& Text, const String& FileName);
/// `FileName` with `DefaultExt` appended (a point put in front unless it starts with one)
/// when the name has no extension; unchanged when it has one (even a bare final point) or
/// `DefaultExt` is empty.
String EnsureDefaultFileExt(const String& FileName, const String& DefaultExt);

}  // namespace qorkit
