// The one-element-per-line XML layout shared by the data structures' persistence: decimal
// fields and taking apart a line `<name attrs>text</name>`; escaping is in xml_escape.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "../core/tag_reader_core.h"
#include "../core/xml_escape.h"
#include "qorkit/rtl/system.h"

namespace qorkit::detail {

/// True when `a` and `b` are equal after folding A to Z.
bool SameIgnoringAZ(std::u16string_view a, std::u16string_view b) noexcept;

/// Cuts blanks, tabs and other control characters off both ends, so a stray CR before the
/// line end does not spoil a line.
std::u16string_view TrimLine(std::u16string_view s) noexcept;
/// Cuts blanks and tabs off both ends.
std::u16string_view TrimBlanksAndTabs(std::u16string_view s) noexcept;

/// Appends the decimal text of `v`.
void AppendDecimal(String& out, std::int64_t v);

/// Plain decimal digits, at least one, no sign and no blanks, within 0..`Max`.
bool ParseDecimal(std::u16string_view s, std::int64_t Max, std::int64_t& v) noexcept;

/// One body line taken apart: `<name attrs>content</name>`.
struct TElementLine {
    String Name;  ///< lower-cased A to Z
    String Attrs;
    std::u16string_view Content;
};

/// Splits a trimmed line `<name attrs>content</name>` (end tag name A-Z case ignored).
bool SplitElementLine(std::u16string_view line, TElementLine& e);

/// True when the trimmed `line` is a start tag `<Name ...>` whose attribute "sig" is
/// `Signature` and, unless `WantedId` is empty, whose unescaped attribute "id" equals
/// `WantedId`, both A to Z case ignored. `Attrs` receives the tag's attribute text.
bool IsStartLine(std::u16string_view line, std::u16string_view Name, std::u16string_view Signature,
                 std::u16string_view WantedId, String& Attrs);

}  // namespace qorkit::detail
