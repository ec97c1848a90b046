// Feeds arbitrary text to the number parsers. Whatever parses as a float must survive the
// trip through FloatToStr: the 15-digit text reads back to a value with the same text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorkit;
    const String text = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));

    std::int32_t i = 0;
    if (TryStrToInt(text, i)) {
        // A parsed integer prints as decimal text that parses back to itself.
        if (StrToInt(IntToStr(i)) != i) std::abort();
    } else {
        try {
            StrToInt(text);
            std::abort();  // TryStrToInt and StrToInt disagree
        } catch (const EConvertError&) {
        }
    }

    long double v = 0;
    if (!TryStrToFloat(text, v)) return 0;
    const String shown = FloatToStr(v);
    long double back = 0;
    if (!TryStrToFloat(shown, back)) std::abort();
    if (std::isnan(v) != std::isnan(back)) std::abort();
    if (FloatToStr(back) != shown) std::abort();
    // The fixed and exponent forms accept every parsed value.
    (void)StrExpo(v, 25);
    if (std::fabs(v) < 1e30L) (void)StrFixed(v, 0, 4);
    return 0;
}
