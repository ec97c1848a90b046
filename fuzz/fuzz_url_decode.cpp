// URLDecode over arbitrary text: it never lengthens a text, and on text without "%" it undoes
// URLEncode. ExtractHTTPPath adds at most the "/" of a bare host.
#include <cstdlib>

#include "fuzz_html_text.h"
#include "qorkit/html/url_coding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorkit;
    const String s = fuzz::HtmlFuzzText(data, size);
    if (URLDecode(s).size() > s.size()) std::abort();
    if (s.find(u'%') == String::npos && URLDecode(URLEncode(s)) != s) std::abort();
    if (ExtractHTTPPath(s).size() > s.size() + 1) std::abort();
    return 0;
}
