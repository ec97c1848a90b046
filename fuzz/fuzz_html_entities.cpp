// Escaping and resolving over arbitrary text: resolving never lengthens a text, escaping
// gives ASCII apart from unpaired surrogates, and resolving undoes escaping exactly. The page
// helpers (body, plain text, word count) run over the same text and must simply terminate
// inside it.
#include <cstdlib>

#include "fuzz_html_text.h"
#include "qorkit/html/html_entities.h"
#include "qorkit/html/html_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorkit;
    const String s = fuzz::HtmlFuzzText(data, size);
    if (ResolveHTMLEntities(s).size() > s.size()) std::abort();
    const String html = MakeStringHTMLCompatible(s);
    for (const Char c : html)
        if (c >= 127 && (c < 0xD800 || c > 0xDFFF)) std::abort();
    if (ResolveHTMLEntities(html) != s) std::abort();
    if (HTMLEntityToAnsi(s).size() > 2) std::abort();

    const String body = ExtractHTMLBody(s);
    if (body.size() > s.size()) std::abort();
    if (ConvertHTMLBodyToText(s, true).size() > 2 * s.size()) std::abort();
    if (ConvertHTMLBodyToText(body, false).size() > s.size()) std::abort();
    bool inTag = (size & 1) != 0;
    if (CountWordsHTML(s, true, inTag) > static_cast<std::int32_t>(s.size() / 2)) std::abort();
    return 0;
}
