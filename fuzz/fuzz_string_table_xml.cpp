// Loads arbitrary bytes as a string table XML file. A load that fails must leave the table
// exactly as it was and send no notification; a load that succeeds must notify once, and the
// table must survive a save and a second load unchanged.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "../tests/dstruct/string_table_snapshot.h"
#include "fuzz_scratch_dir.h"
#include "qorkit/dstruct/string_table.h"
#include "qorkit/rtl/exceptions.h"

namespace {

using namespace qorkit;

using Snapshot = qorkit::test::TableSnapshot;
using qorkit::test::Take;

void Prefill(TStringArray& t) {
    if (!t.Resize(2, 3)) std::abort();
    t.SetString(0, 1, "keep");
    t.SetString(1, 2, std::string("a\0<&", 4));
    t.SetRowAttrib(3, 9);
    t.SetColAttrib(2, 4);
    t.Sort(1, 0, false);
}

char LowerAZ(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// True when some count in the input has more than three digits: legal counts up to the reader's
// limit would make single runs allocate hundreds of megabytes.
bool HasLargeCount(std::string_view bytes) {
    std::string lower(bytes);
    for (char& c : lower)
        c = LowerAZ(c);
    for (const std::string_view name : {"numrows", "numcols"}) {
        for (std::size_t at = lower.find(name); at != std::string::npos;
             at = lower.find(name, at + 1)) {
            std::size_t i = lower.find('>', at);
            if (i == std::string::npos) break;
            std::size_t digits = 0;
            while (++i < lower.size() && lower[i] >= '0' && lower[i] <= '9')
                ++digits;
            if (digits > 3) return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (HasLargeCount(bytes)) return 0;
    // Inputs without a table of their own are taken as the body of one, so that short inputs
    // reach the line parser instead of only the search for the start line.
    std::string lower(bytes);
    for (char& c : lower)
        c = LowerAZ(c);
    if (lower.find("strarray") == std::string::npos) {
        bytes = "<strarray sig=QORLIBSIG>\r\n<numcols>2</numcols>\r\n<numrows>3</numrows>\r\n" +
                bytes + "\r\n</strarray>\r\n";
    }

    const std::filesystem::path in = FuzzScratchDir("xml") / "in.xml";
    const std::filesystem::path out = FuzzScratchDir("xml") / "out.xml";
    FuzzWriteFile(in, bytes);

    TStringArray t;
    Prefill(t);
    const Snapshot before = Take(t);
    int changes = 0;
    t.SetOnChange([&](TObject*) { ++changes; });
    bool ok = false;
    try {
        ok = t.LoadFromXMLFile(FromUtf8(in.string()), u"");
    } catch (const Exception&) {
        std::abort();  // our own readable file: no error is expected
    }
    if (!ok) {
        if (changes != 0 || !(Take(t) == before)) std::abort();
        return 0;
    }
    if (changes != 1) std::abort();

    const String outName = FromUtf8(out.string());
    t.SaveAsXMLFile(outName, u"Fuzz \"id\" & more");
    TStringArray back;
    if (!back.LoadFromXMLFile(outName, u"fuzz \"ID\" & MORE")) std::abort();
    if (!(Take(back) == Take(t))) std::abort();
    return 0;
}
