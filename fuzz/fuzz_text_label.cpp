// Reads arbitrary bytes as a text-label file. A read that finds no label must leave the label
// as it was and send no notification; a read that fails inside an element sends none either;
// a read that succeeds notifies once, and what it read must be a fixed point of writing and
// reading: writing it, reading that back and writing again gives the same bytes (positions
// aside that the number grammar cannot hold).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz_scratch_dir.h"
#include "qorkit/graphics/text_label.h"
#include "qorkit/rtl/exceptions.h"

namespace {

using namespace qorkit;

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The label's settings as the writer puts them down.
std::string Written(const TCustomTextLabel& l, const std::filesystem::path& path) {
    TextFile f;
    f.Assign(FromUtf8(path.string()));
    f.Rewrite();
    l.WriteToOpenXMLFile(f, true, u"fuzz", 2);
    f.Close();
    return Slurp(path);
}

bool Read(TCustomTextLabel& l, const std::filesystem::path& path, const String& id) {
    TextFile f;
    f.Assign(FromUtf8(path.string()));
    f.Reset();
    return l.ReadFromOpenXMLFile(f, id);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // Most inputs get a start line, so that they reach the body's reader.
    const bool framed = size > 0 && (data[0] & 1) != 0;
    if (framed) bytes = "<custtextlbl sig=\"QORLIBSIG\" id=\"x\">\n" + bytes.substr(1);
    const std::filesystem::path in = FuzzScratchDir("label") / "in.xml";
    const std::filesystem::path out = FuzzScratchDir("label") / "out.xml";
    FuzzWriteFile(in, bytes);

    TCustomTextLabel l;
    l.SetTxtLblCaption(u"before");
    const std::string before = Written(l, out);
    int changes = 0;
    l.OnChange = [&](TObject*) { ++changes; };
    bool ok = false;
    try {
        ok = Read(l, in, framed ? u"X" : u"");
    } catch (const Exception&) {
        std::abort();  // a readable file of any content raises nothing
    }
    if (!ok) {
        if (changes != 0) std::abort();
        std::string lower = bytes;
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        const bool hasStart = lower.find("custtextlbl") != std::string::npos;
        if (!framed && !hasStart && Written(l, out) != before) std::abort();
        return 0;
    }
    if (changes != 1) std::abort();
    // An infinite position is written as "+INF" or "-INF", which the number grammar reads as 0.
    if (!std::isfinite(l.PosX()) || !std::isfinite(l.PosY())) return 0;

    const std::string first = Written(l, out);
    TCustomTextLabel back;
    if (!Read(back, out, u"FUZZ")) std::abort();
    if (Written(back, out) != first) std::abort();
    return 0;
}
