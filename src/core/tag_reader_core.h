// The tag reader shared by streams, text files and strings: it works on any source of
// characters, so that every form follows exactly the same rules.
#pragma once

#include <cstdint>
#include <span>

#include "qorkit/rtl/system.h"

namespace qorkit::detail {

/// A source of characters for the tag reader.
class TagCharSource {
  public:
    virtual ~TagCharSource() = default;
    /// Sets `C` to the next character and returns true, or returns false at the end.
    virtual bool Next(Char& C) = 0;
    /// Called when the "<" that opens a tag has just been read; a source that knows positions
    /// notes where the tag starts.
    virtual void MarkTagStart() {}
};

/// One tag as read by `ReadTagHead`.
struct TagHead {
    String Name;              ///< lower-cased (A to Z); empty at the end of the source
    String Attributes;        ///< trimmed of blanks
    bool HasElement = false;  ///< a start tag whose element text follows
    bool AtEnd = false;       ///< no tag was found before the end of the source
};

/// Skips to the next "<", reads the tag text up to its ">" and splits it into name and
/// attribute text. Comments and declarations ("<!...") are skipped. Only a closing ">" is
/// removed from the tag text, so a tag cut off by the end keeps all of its characters.
TagHead ReadTagHead(TagCharSource& Source);

/// Reads the raw element text up to the first end tag of `Name` (compared after lower-casing
/// A to Z), which is consumed and not part of the result. Without an end tag the text runs to
/// the end of the source; with `DropUnfinishedPiece` the text after its last ">" is dropped
/// then.
String ReadElementText(TagCharSource& Source, const String& Name, bool DropUnfinishedPiece);

/// Index of the first entry equal to `Name`, else the highest index; -1 for an empty list.
std::int32_t TagIndex(std::span<const String> TagList, const String& Name) noexcept;

/// Trims blanks (character 32 only) from both ends.
String TrimBlanks(std::u16string_view S);

/// What `ReadXMLAttrib` found.
enum XMLAttribStatus : std::uint8_t { asFound, asNothingLeft, asMalformed };

/// Reads one `name=value` pair of an attribute text from `Pos` (0-based) and leaves `Pos`
/// after the character that ended it: values in double quotes (an unclosed quote runs to the
/// end) or plain (ended by a blank or a quote); the name is trimmed of blanks. Malformed: a
/// quote in a name, a second "=", "=" in a plain value.
XMLAttribStatus ReadXMLAttrib(std::u16string_view Text, std::size_t& Pos, String& Name,
                              String& Value);

/// The A-to-Z lower-cased form of `C`.
constexpr Char LowerAZ(Char C) noexcept {
    return C >= u'A' && C <= u'Z' ? static_cast<Char>(C + 32) : C;
}

}  // namespace qorkit::detail
