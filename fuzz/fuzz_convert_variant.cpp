// Builds variants from the input bytes (scalars of every type, arrays of one to four
// dimensions, arrays of arrays nested several levels deep, ragged and empty ones) and writes
// them with ConvertVariant. Nothing may raise, crash or trip a sanitizer, and the text must
// start as documented.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_byte_reader.h"
#include "qorkit/strings/variant_text.h"

using namespace qorkit;

namespace {

using Reader = FuzzByteReader;

Variant Scalar(Reader& r) {
    switch (r.Byte() % 16) {
        case 0:
            return Variant();
        case 1:
            return Variant::Null();
        case 2:
            return Variant::FromSmallint(r.Raw<std::int16_t>());
        case 3:
            return Variant::FromInteger(r.Raw<std::int32_t>());
        case 4:
            return Variant(r.Raw<float>());
        case 5:
            return Variant(r.Raw<double>());
        case 6:
            return Variant::FromCurrencyScaled(r.Raw<std::int64_t>());
        case 7:
            return Variant::FromDate(r.Raw<double>());
        case 8:
            return Variant::FromOleStr(String(r.Byte() % 4, u'o'));
        case 9:
            return Variant::FromError(r.Raw<std::int32_t>());
        case 10:
            return Variant(r.Byte() % 2 == 0);
        case 11:
            return Variant::FromShortInt(r.Raw<std::int8_t>());
        case 12:
            return Variant::FromUInt64(r.Raw<std::uint64_t>());
        case 13:
            return Variant::FromInt64(r.Raw<std::int64_t>());
        case 14:
            return Variant::FromAnsiString(String(r.Byte() % 4, u'a'));
        default:
            return Variant(String(r.Byte() % 4, u'\u20AC'));
    }
}

Variant Build(Reader& r, int depth) {
    const std::uint8_t kind = r.Byte();
    if (depth >= 5 || kind % 3 == 0) return Scalar(r);
    const int dims = 1 + r.Byte() % 4;
    std::vector<std::int32_t> bounds;
    std::int64_t total = 1;
    for (int d = 0; d < dims; ++d) {
        const std::int32_t low = static_cast<std::int8_t>(r.Byte());
        const std::int32_t count = r.Byte() % 16;  // 0 gives an empty dimension
        bounds.push_back(low);
        bounds.push_back(low + count - 1);
        total *= count;
    }
    if (total > 4096) return Scalar(r);
    const bool typed = kind % 3 == 1 && dims == 1;
    Variant a = VarArrayCreate(bounds, typed ? varInteger : varVariant);
    if (total == 0) return a;
    // Fill a few elements, the first one always (it decides how arrays of arrays are shown).
    const int fills = 1 + r.Byte() % 8;
    for (int f = 0; f < fills; ++f) {
        std::vector<std::int32_t> ix;
        for (int d = 0; d < dims; ++d) {
            const std::int32_t low = bounds[static_cast<std::size_t>(2 * d)];
            const std::int32_t count = bounds[static_cast<std::size_t>(2 * d + 1)] - low + 1;
            ix.push_back(f == 0 ? low : low + r.Byte() % count);
        }
        if (typed)
            a.PutElement(ix, Variant::FromInteger(r.Raw<std::int32_t>()));
        else
            a.PutElement(ix, Build(r, depth + 1));
    }
    return a;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader r(data, size);
    const Variant v = Build(r, 0);
    const String text = ConvertVariant(v);
    if (VarIsArray(v) && text != u"undefined array" && text.rfind(u"Array[", 0) != 0) std::abort();
    return 0;
}
