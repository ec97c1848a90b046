// Word counting in HTML text.
#include "qorkit/html/html_text.h"
#include "qorkit/strings/word_count.h"

namespace qorkit {

std::int32_t CountWordsHTML(std::u16string_view S, bool SkipNumbers, bool& InTag) noexcept {
    const std::bitset<256> seps = WordSeps;
    std::int32_t words = 0;
    std::size_t run = 0;
    bool digitFirst = false;
    bool inTag = InTag;
    for (const Char c : S) {
        if (c == u'<')
            inTag = true;
        else if (c == u'>')
            inTag = false;
        if (inTag) continue;
        if (c < 256 && seps[c]) {
            if (run >= 2 && !(SkipNumbers && digitFirst)) ++words;
            run = 0;
        } else {
            if (run == 0) digitFirst = c >= u'0' && c <= u'9';
            ++run;
        }
    }
    InTag = inTag;
    return words;
}

}  // namespace qorkit
