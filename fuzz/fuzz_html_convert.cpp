// THtmlProducer::Convert over arbitrary templates: without a handler, or with one that keeps
// the replacement, the result is the template; the names and parameters the handler gets
// follow the tag grammar; a handler that empties every tag shortens the text by exactly the
// tags' lengths.
#include <cstdlib>

#include "fuzz_html_text.h"
#include "qorkit/html/html_producer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorkit;
    const String tpl = fuzz::HtmlFuzzText(data, size);
    THtmlProducer p;
    p.SetTemplate(tpl);
    if (p.Convert() != tpl) std::abort();

    std::size_t tagChars = 0;
    p.SetOnHTMLTag([&](TObject* sender, const String& name, const String& params, String& r) {
        if (sender != &p) std::abort();
        if (r.size() < 2 || r[0] != u'<' || r[1] != u'#') std::abort();
        if (name.find(u' ') != String::npos || name.find(u'>') != String::npos) std::abort();
        for (const Char c : name)
            if (c >= u'A' && c <= u'Z') std::abort();
        if (!params.empty() && (params.front() == u' ' || params.back() == u' ')) std::abort();
        if (name.size() + params.size() + 2 > r.size()) std::abort();
        const std::int32_t at = p.ScanPosition();
        if (at < 1 || static_cast<std::size_t>(at) > tpl.size()) std::abort();
        if (tpl.compare(static_cast<std::size_t>(at - 1), r.size(), r) != 0) std::abort();
        tagChars += r.size();
    });
    if (p.Convert() != tpl) std::abort();  // the handler keeps every replacement

    p.SetOnHTMLTag([](TObject*, const String&, const String&, String& r) { r.clear(); });
    if (p.Convert().size() != tpl.size() - tagChars) std::abort();
    if (p.ScanPosition() != static_cast<std::int32_t>(tpl.size())) std::abort();
    return 0;
}
