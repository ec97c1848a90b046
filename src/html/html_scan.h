// A small HTML tokenizer for the page helpers: text, tags, comments and raw-text elements,
// read the way browsers read them, so that ">" inside quotes or "</body>" inside a script do
// not end anything.
#pragma once

#include <cstddef>
#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit::detail {

struct HtmlToken {
    enum TKind { tkText, tkTag, tkOther };  ///< tkOther: comment, declaration, instruction
    TKind Kind = tkText;
    std::size_t From = 0;  ///< offset of the first character
    std::size_t To = 0;    ///< offset just past the last character
    String Name;           ///< tags: the name lower-cased (A to Z), without "/"
    bool EndTag = false;   ///< tags: "</name ...>"
};

/// Reads `Html` token by token. The contents of "script", "style", "title" and "textarea"
/// come as one text token up to their end tag, whatever they hold. A tag, comment or
/// declaration cut off by the end of the text runs to the end.
class HtmlScanner {
  public:
    explicit HtmlScanner(std::u16string_view Html) : FText(Html) {}
    /// Reads the next token; false at the end of the text.
    bool Next(HtmlToken& Token);

  private:
    std::u16string_view FText;
    std::size_t FPos = 0;
    String FRawEnd;  ///< the element whose raw text comes next, or empty
};

}  // namespace qorkit::detail
