// Helpers for line-oriented text files: appending, line ends, words, last lines, line counts
// and searching. Text is 8-bit Windows-1252; a line ends at LF or CR LF (a lone CR is
// ordinary text) and the last line may lack its end. File errors raise `EInOutError` naming
// the file and the system's reason: missing files, folders given as files, unreadable files.
#pragma once

#include <cstdint>

#include "qorkit/core/types.h"
#include "qorkit/rtl/string_list.h"
#include "qorkit/rtl/text_file.h"

namespace qorkit {

/// Copies `InFile` to `OutFile`, putting an LF after every CR that lacks one (a CR at the
/// very end included); LF-only line ends are copied unchanged. Every other byte passes
/// through untouched. The output is written whole or not at all (`SaveFileAtomically`), so
/// `OutFile` may even be `InFile`. Example: "a\rb\r\r\nc\r" becomes "a\r\nb\r\n\r\nc\r\n".
void EnsureCRLFInFile(const String& InFile, const String& OutFile);

/// Reads the next word of the open text file `F`: characters with codes up to 32 are skipped,
/// then characters above 32 are collected up to the next one at most 32 (consumed, not
/// returned) or the end of the file. Returns "" at the end of the file.
String ReadNextWordInTextFile(TextFile& F);

/// Appends `S` and a line end (CR LF) to `FileName`, creating the file when it does not exist.
/// The file is rewritten through `SaveFileAtomically` (its bytes copied into a temporary
/// sibling), so a failure never leaves it half-written; the cost is a copy of the file.
void AppendToTextFile(const String& FileName, const String& S);
/// As above for every string of `SL`, each followed by a line end, in one rewrite.
void AppendToTextFile(const String& FileName, const TStringList& SL);

/// The last `N` lines of the open text file `F` in file order, as an array of exactly `N`
/// strings whose unfilled leading slots are empty when the file has fewer lines; empty for
/// `N` <= 0. Reads the whole file from its start, counts every line into `LinesRead`
/// (saturating at 2^31 - 1) and leaves `F` rewound to its start. Raises `EQORFileSysError`
/// when `N` strings do not fit in memory.
TStrArray ReadLastNLinesOfTextFile(TextFile& F, std::int32_t N, std::int32_t& LinesRead);
/// The same lines of the file `FileName`, read backwards from its end: the time depends on
/// the length of the last `N` lines, not on the size of the file. `LinesRead` is the number of
/// lines delivered, min(N, lines in the file), as the file is not read in full.
TStrArray ReadLastNLinesOfTextFile(const String& FileName, std::int32_t N, std::int32_t& LinesRead);

/// The number of lines of the open text file `F` (a last line without its end counts; an
/// empty file has none), read from its start; `F` is left rewound. After every 1000th line
/// `Feedback` (when not null) is called with a null sender, the lines so far and 0.0. The
/// count saturates at 2^31 - 1.
std::int32_t CountLinesInTextFile(TextFile& F, TFeedbackProc Feedback);
/// The same for the file `FileName`, counted in large blocks (same count, same callbacks).
std::int32_t CountLinesInTextFile(const String& FileName, TFeedbackProc Feedback);

/// The 1-based offset of the first occurrence of `Text` within the lines of `FileName` joined
/// without line ends, when it lies within the first `MaxChars` characters; 0 otherwise
/// (also for an empty `Text`). Lines are read only while the characters read stay below
/// `MaxChars`. `IgnoreCase` folds A-Z only. Example: over the lines "abc", "xyz", "y" gives 5,
/// or 0 with `MaxChars` 4.
std::int32_t DetectStringInFile(const String& FileName, const String& Text, bool IgnoreCase,
                                std::int32_t MaxChars);

/// The position of `Text` in the first line of `FileName` that holds it, with that line in
/// `Line` as it stands in the file; 0 and an empty `Line` when no line holds it (or `Text` is
/// empty). `IgnoreCase` folds by the library's Unicode table (`AnsiLowerCase`).
std::int32_t FindFirstMatchInTextFile(const String& FileName, const String& Text, bool IgnoreCase,
                                      String& Line);

}  // namespace qorkit
