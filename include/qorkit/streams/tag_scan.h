// A light reader for XML-like tagged text in byte streams and text files.
//
// The readers know no nesting, entities or validation: they step from one tag to the next,
// give the tag's position in the caller's list of expected names and its attribute text, and
// for a start tag the raw text up to the first matching end tag. Stream bytes are taken as
// characters U+0000 to U+00FF. Names compare after lower-casing A to Z only, so list entries
// are written in lower case; "/name" matches the end tag of name.
#pragma once

#include <cstdint>
#include <span>

#include "qorkit/rtl/memory_stream.h"
#include "qorkit/rtl/stream.h"
#include "qorkit/rtl/string_list.h"
#include "qorkit/rtl/system.h"
#include "qorkit/rtl/text_file.h"

namespace qorkit {

/// Reads the next tag. Comments and declarations ("<!...>", ended by their first ">") are
/// skipped; processing instructions ("<?...?>") are returned like tags, with a name starting
/// with "?", and have no element text.
///
/// `Attributes` receives the text after the first blank of the tag up to its closing ">" (or
/// "/>"), without leading and trailing blanks. For a start tag with a name, `ElementText`
/// receives the raw text up to the first end tag of the same name (case-insensitive), which is
/// consumed; a nested element of the same name therefore ends it early, and without an end tag
/// it runs to the end of the stream. Otherwise the stream stands just after the tag's ">".
///
/// Returns the index of the first entry of `TagList` equal to the lower-cased name; when none
/// is equal, the highest index (the same as a match of the last entry). At the end of the
/// stream the name is empty, so an empty entry matches. An empty list gives -1. Never raises
/// for the data; both outputs are cleared first.
/// Example: over `<data kind="x">1 2</DATA>` with the list {"label", "data"} the result is 1,
/// `Attributes` is `kind="x"` and `ElementText` is "1 2".
std::int32_t ReadNextTagInStream(TStream& Stream, std::span<const String> TagList,
                                 String& Attributes, String& ElementText);

/// `ReadNextTagInStream` on a text file opened for reading. An element whose end tag is missing
/// keeps only the text up to its last ">" (a trailing piece without ">" is dropped). Errors of
/// the text file (`EInOutError`) pass through.
std::int32_t ReadNextTagInTextFile(TextFile& F, std::span<const String> TagList, String& Attributes,
                                   String& ElementText);

/// The value of the attribute `Name` (compared after lower-casing A to Z) in an attribute
/// text such as `w="10" h=20 name="a b"`. Values are in double quotes (blanks and "=" allowed
/// inside; an unclosed quote runs to the end) or plain (ended by a blank or a quote). Blanks
/// before a name belong to it and are trimmed off, so text without "=" joins the next name
/// ('flag x=1' holds the one name 'flag x'). Returns "" for a missing attribute, one without
/// a value, and when malformed text stops the scan (a quote in a name, a second "=", "=" in
/// a plain value).
String ScanForXMLAttrib(const String& AttrText, const String& Name);

/// Reads text up to and including the first case-insensitive occurrence of `SearchString`
/// (A to Z folded) and leaves the stream just after it, with `Code` 0; the result ends with
/// the occurrence as it stands in the stream. When the text does not occur (or is empty), the
/// result is the rest of the stream, the stream is left at its end and `Code` is -1.
/// Reads in blocks of 256 bytes and seeks back to the end of the occurrence, so it needs a
/// stream that can seek back (others raise `EStreamError`).
/// Example: over "abcENDdef" with "end" the result is "abcEND" and "def" is left.
String ReadStreamUntil(TStream& Stream, const String& SearchString, std::int32_t& Code);

/// Searches the rest of the stream for the next tag named `TagName` (case-insensitive; tags of
/// other names, comments and their contents are stepped over tag by tag, so a tag nested in
/// another element is found). On success returns true with `Attributes` and `ElementText`
/// as `ReadNextTagInStream` gives them (an element text only for a start tag). Returns false
/// with empty outputs and the stream at its end when no such tag follows.
bool ScanStreamForXMLTag(TStream& Stream, const String& TagName, String& Attributes,
                         String& ElementText);

/// Reads text up to the start of the first tag whose name is in `TagList` (lower-case names;
/// "/name" for an end tag). A name matches when "<" + name is followed by a blank, tab, CR, LF,
/// ">" or "/" or by the end of the stream, comparing case-insensitively. Returns the text
/// before the tag and leaves the stream at its "<", with `Index` the tag's position in the
/// list, so that `ReadNextTagInStream` reads it next. Without such a tag the result is the
/// rest of the stream, the stream is at its end and `Index` is -1. Moving back to the "<" needs
/// a stream that can seek back (others raise `EStreamError` when a tag is found).
String ReadStreamUntilTagList(TStream& Stream, std::span<const String> TagList,
                              std::int32_t& Index);

/// Separates markup from text in the rest of the stream: every byte outside tags is written to
/// `Text` at its position, and the text of each tag between "<" and ">" (exclusive; comments
/// included, ended by their first ">") is added to `Tags`. A tag cut off by the end of the
/// stream is added as it stands. Returns the number of tags added. Raises what writing to
/// `Text` raises.
std::int32_t ExtractFromStream(TStream& Stream, TMemoryStream& Text, TStringList& Tags);

/// Called by `SearchAndReplace` for a modifier it does not know: `Command` is the modifier's
/// name as written; `Substring` holds the matched text on entry and what is left in it is
/// inserted.
using TSRUnknownModifierEvent = void (*)(String Command, String& Substring);

/// Copies all of `Source` (from its start) into `Target`, which is emptied first, replacing
/// occurrences of `SearchText` (8-bit text; A to Z folded when `IgnoreCase`) by `ReplaceText`.
/// Occurrences are counted from 1 without overlap; those before `FirstOccurrence` are kept,
/// and at most `MaxReplacements` are replaced (0 or less: all). When `ModifierBrackets` holds
/// two characters, say "{}", `{name}` in `ReplaceText` is a modifier: `{match}` inserts the
/// matched text as it stands in the source, `{count}` the number of this replacement (1, 2,
/// ...); other names go to `OnUnknownModifier`, or stay as written when it is null. An
/// unclosed bracket is ordinary text. An empty `SearchText` replaces nothing. Returns the
/// number of replacements; `Source` is left at its end and `Target` after the last byte.
std::int32_t SearchAndReplace(TMemoryStream& Source, TMemoryStream& Target,
                              const String& SearchText, const String& ReplaceText, bool IgnoreCase,
                              std::int32_t FirstOccurrence, std::int32_t MaxReplacements,
                              const String& ModifierBrackets,
                              TSRUnknownModifierEvent OnUnknownModifier);

}  // namespace qorkit
