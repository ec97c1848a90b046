// Reads arbitrary bytes as tagged text: ReadNextTagInStream until the end, ScanForXMLAttrib
// on every attribute text, and the other tag readers once. Every call must terminate, stay
// inside the data and agree between memory and forward-only streams.
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_stream_common.h"
#include "qorkit/rtl/memory_stream.h"
#include "qorkit/rtl/string_list.h"
#include "qorkit/streams/tag_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorkit;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto total = static_cast<std::int64_t>(size);
    const std::vector<String> list{u"a", u"/a", u"data", u"?xml", u""};
    TStringStream mem(bytes);
    fuzz::ForwardStream fwd(data, size);
    for (;;) {
        const std::int64_t before = mem.Position();
        String attrA, elemA, attrB, elemB;
        const std::int32_t a = ReadNextTagInStream(mem, list, attrA, elemA);
        const std::int32_t b = ReadNextTagInStream(fwd, list, attrB, elemB);
        if (a != b || attrA != attrB || elemA != elemB || mem.Position() != fwd.Position())
            std::abort();
        if (a < 0 || a >= static_cast<std::int32_t>(list.size())) std::abort();
        if (mem.Position() > total) std::abort();
        if (attrA.size() + elemA.size() > size) std::abort();
        for (const char16_t* name : {u"a", u"w", u"name", u""}) {
            const String v = ScanForXMLAttrib(attrA, name);
            if (v.size() > attrA.size()) std::abort();
        }
        if (mem.Position() == before) {
            if (before != total) std::abort();  // no progress only at the end
            break;
        }
    }
    mem.SetPosition(0);
    String attr, elem;
    (void)ScanStreamForXMLTag(mem, u"data", attr, elem);
    mem.SetPosition(0);
    std::int32_t code = 0;
    const String until = ReadStreamUntil(mem, u"</a>", code);
    if (mem.Position() != static_cast<std::int64_t>(until.size())) std::abort();
    mem.SetPosition(0);
    std::int32_t index = 0;
    const String before = ReadStreamUntilTagList(mem, list, index);
    if (mem.Position() != static_cast<std::int64_t>(before.size())) std::abort();
    mem.SetPosition(0);
    TMemoryStream text;
    TStringList tags;
    (void)ExtractFromStream(mem, text, tags);
    if (text.Size() > total) std::abort();
    return 0;
}
