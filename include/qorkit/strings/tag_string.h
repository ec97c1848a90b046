// The tag reader over a string: the same rules as the stream and text-file readers, with the
// reading position kept in the caller's variable.
#pragma once

#include <cstdint>
#include <span>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// Reads the next tag of `S` from position `Pos` (1-based; a position below 1 counts as 1)
/// exactly as `ReadNextTagInStream` reads a stream: comments and declarations are skipped,
/// `Attributes` receives the tag's trimmed attribute text and, for a start tag, `ElementText`
/// the raw text up to the first end tag of the same name (which is consumed). Afterwards `Pos`
/// is the position of the first character not read (length + 1 at the end of `S`).
///
/// Returns the index of the first entry of `TagList` equal to the lower-cased (A to Z) name,
/// the highest index when none is equal, and -1 for an empty list. At the end of `S` the name
/// is empty, so an empty entry matches. Never raises; both outputs are cleared first.
/// Example: over `x\<a k="1">text\</A>y` from position 1 with the list {"a"} the result is 0,
/// `Attributes` is `k="1"`, `ElementText` is "text" and `Pos` is 18 (the "y").
std::int32_t ReadNextTagInString(const String& S, std::int32_t& Pos,
                                 std::span<const String> TagList, String& Attributes,
                                 String& ElementText);

/// Finds the next tag of `S` from position `Pos` without reading its element: the tag is read
/// by the rules of `ReadNextTagInString`, `TagPos` receives the position of its "<" and `Pos`
/// the position just after its ">". `IsStartTag` tells whether the tag opens an element (a
/// start tag with a name that is not self-closing, an end tag or a processing instruction),
/// that is whether element text follows it.
///
/// Returns the list index as `ReadNextTagInString` does. When no tag is left, `TagPos` is 0,
/// `Attributes` is empty, `IsStartTag` is false and `Pos` is length + 1. Never raises.
std::int32_t DetectNextTagInString(const String& S, std::int32_t& Pos, std::int32_t& TagPos,
                                   std::span<const String> TagList, String& Attributes,
                                   bool& IsStartTag);

}  // namespace qorkit
