// Loads arbitrary bytes as a feature-matrix file. The result must be one of the documented
// codes, the property objects must match the feature count, and a matrix that loaded must
// survive a save and a second load unchanged.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "fuzz_scratch_dir.h"
#include "qorkit/core/errors.h"
#include "qorkit/dstruct/feature_matrix.h"
#include "qorkit/rtl/exceptions.h"

namespace {

using namespace qorkit;

// True when a number in the input has more than three digits: legal counts up to the reader's
// limits would make single runs allocate hundreds of megabytes.
bool HasLargeNumber(std::string_view bytes) {
    std::size_t digits = 0;
    for (const char c : bytes) {
        digits = c >= '0' && c <= '9' ? digits + 1 : 0;
        if (digits > 3) return true;
    }
    return false;
}

const std::filesystem::path& ScratchDir() {
    return FuzzScratchDir("fm");
}

void Check(bool ok) {
    if (!ok) std::abort();
}

bool Same(const TFeatureMatrix& a, const TFeatureMatrix& b) {
    if (a.NFeatures() != b.NFeatures() || a.NObjects() != b.NObjects()) return false;
    TFeatureMatrix ta, tb;  // read every value as text
    ta.Assign(&a);
    tb.Assign(&b);
    ta.SetFeatType(0, 0, fkString);
    tb.SetFeatType(0, 0, fkString);
    for (std::int32_t f = 1; f <= a.NFeatures(); ++f) {
        const auto p = a.FeatProps(f);
        const auto q = b.FeatProps(f);
        if (p->FeatNum() != q->FeatNum() || p->FeatName() != q->FeatName() ||
            p->FeatKind() != q->FeatKind() || p->Comment() != q->Comment() ||
            p->PresetValues() != q->PresetValues() || p->Sorted() != q->Sorted())
            return false;
        for (std::int32_t o = 1; o <= a.NObjects(); ++o)
            if (ta.FeatVal(f, o) != tb.FeatVal(f, o)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (HasLargeNumber(bytes)) return 0;
    const std::filesystem::path in = ScratchDir() / "in.fm";
    {
        std::ofstream f(in, std::ios::binary | std::ios::trunc);
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        Check(static_cast<bool>(f));
    }
    TFeatureMatrix m;
    int changes = 0;
    m.SetOnChange([&](TObject*) { ++changes; });
    std::int32_t r = 0;
    try {
        r = m.Load(FromUtf8(in.string()));
    } catch (const Exception&) {
        std::abort();  // a readable file of our own: no error is expected
    }
    Check(r == 0 || r == -2 || r == -3);
    Check(changes == 2);
    Check(m.NFeatures() >= 0 && m.NObjects() >= 0);
    for (std::int32_t f = 1; f <= m.NFeatures(); ++f)
        Check(m.FeatProps(f) != nullptr);
    for (std::int32_t f = 0; f <= m.NFeatures() + 1; ++f)
        m.ClearFeature(f);  // touches every value; never outside
    if (r != 0) return 0;

    // Reload the original (the clearing above changed values) and round-trip it.
    Check(m.Load(FromUtf8(in.string())) == 0);
    const String outName = FromUtf8((ScratchDir() / "out.fm").string());
    try {
        m.Save(outName);
    } catch (const EQORDStructError&) {
        return 0;  // a lone CR in a text: refused, and nothing was written
    }
    TFeatureMatrix back;
    Check(back.Load(outName) == 0);
    Check(Same(m, back));
    return 0;
}
