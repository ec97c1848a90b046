// Loads arbitrary bytes as a colour-array text file, with and without AdjustSize (chosen by the
// first byte). Nothing may raise or crash; a failed load leaves size and colours as they were
// and notifies at most once; a successful load survives a store and a second load unchanged.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_scratch_dir.h"
#include "qorkit/colors/color_array.h"

namespace {

using namespace qorkit;

// True when a number in the input has more than five digits: legal sizes up to the reader's
// limit would make single runs allocate a hundred megabytes.
bool HasLargeNumber(std::string_view bytes) {
    std::size_t digits = 0;
    for (const char c : bytes) {
        digits = (c >= '0' && c <= '9') ? digits + 1 : 0;
        if (digits > 5) return true;
    }
    return false;
}

std::vector<TColor> Colors(const TColorArray& a) {
    std::vector<TColor> v;
    for (std::int32_t i = 1; i <= a.Size(); ++i)
        v.push_back(a.GetColorElem(i));
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool adjust = (data[0] & 1) != 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (HasLargeNumber(bytes)) return 0;

    const std::filesystem::path in = FuzzScratchDir("colors") / "in.txt";
    const std::filesystem::path out = FuzzScratchDir("colors") / "out.txt";
    FuzzWriteFile(in, bytes);

    TColorArray a;
    a.SetSize(8);
    for (std::int32_t i = 1; i <= 8; ++i)
        a.SetColorElem(i, 0x010101 * i);
    const std::vector<TColor> before = Colors(a);
    int changes = 0;
    a.SetOnChange([&](TObject*) { ++changes; });
    const bool ok = a.LoadFromFile(FromUtf8(in.string()), adjust);
    if (!ok) {
        if (changes > 1 || Colors(a) != before) std::abort();
        return 0;
    }
    if (changes < 1) std::abort();

    const String outName = FromUtf8(out.string());
    if (!a.StoreOnFile(1, a.Size(), outName)) std::abort();
    TColorArray back;
    back.SetSize(1);
    if (!back.LoadFromFile(outName, true) || !back.IsEqual(&a)) std::abort();
    return 0;
}
