// HTML pages as text: word counting, a standard head and foot, the body and its plain text.
#pragma once

#include <cstdint>
#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// Counts the words of `S` as `CountWords` does (runs of at least two characters outside
/// `WordSeps`, each followed by a separator), skipping tags: "<" sets `InTag`, ">" clears it,
/// and characters are skipped while `InTag` is set, the "<" included. The ">" itself is then
/// taken as an ordinary character, so it ends the current run. With `SkipNumbers` only runs
/// whose first character is not a digit 0-9 count. `InTag` carries over between calls, so a
/// text split into pieces can be counted piece by piece; runs do not, and a run at the very
/// end of `S` is not counted. CountWordsHTML(u"<b>Hello</b> world 2024 ", true, t) == 2.
std::int32_t CountWordsHTML(std::u16string_view S, bool SkipNumbers, bool& InTag) noexcept;

/// The start of a standard HTML page, lines ended by CR LF: "<!DOCTYPE html>", "<html>",
/// "<head>", a Windows-1252 charset declaration (the encoding of the library's text files),
/// "<title>" with `Title`, a "meta" author line for `Author`, a "meta" description line for
/// `Description`, a stylesheet "link" for `StyleSheet`, "</head>", and "<body>" when
/// `OpenBody` is true. The author, description and stylesheet lines are left out when their
/// text is empty. Every text is escaped with `MakeStringHTMLCompatible`.
String DefaultHTMLHead(std::u16string_view Title, std::u16string_view Author,
                       std::u16string_view Description, std::u16string_view StyleSheet,
                       bool OpenBody);

/// The end of a standard HTML page: "</body>" (when `CloseBody` is true) and "</html>", each
/// line ended by CR LF. DefaultHTMLFoot(true) == u"</body>\r\n</html>\r\n".
String DefaultHTMLFoot(bool CloseBody);

/// The content of the body of the page `Html`: the text after the "<body ...>" start tag up to
/// the "</body>" end tag (names in any A-Z case), or to the end of `Html` when the end tag is
/// missing. Tags are read as HTML reads them: comments, ">" inside quoted attribute values
/// and the contents of "script" and "style" elements do not count. A text without a body
/// start tag is taken as a fragment and returned whole.
String ExtractHTMLBody(std::u16string_view Html);

/// The plain text of the HTML fragment `Body`, much as a browser shows it: tags and comments
/// are removed, the contents of "script", "style", "head", "title" and "textarea" dropped,
/// entities resolved (`ResolveHTMLEntities`), and each run of blanks, tabs and line ends
/// becomes one blank. With `KeepLayout` a "br" tag gives a line end and block elements (p, div,
/// h1-h6, li, tr, table, ul, ol, dl, dt, dd, blockquote, pre, hr, form, section, article, header,
/// footer, nav, aside, main, figure, figcaption, address) start and end lines (with no empty
/// line between blocks), lines end with CR LF, "pre" keeps its white space and the cells of a
/// table row are separated by a tab. Without it the whole text is one line, every tag that
/// would break a line giving a blank. No line starts or ends with a blank, and there are no
/// empty lines at the start or end.
String ConvertHTMLBodyToText(std::u16string_view Body, bool KeepLayout);

}  // namespace qorkit
