// Builds variants (scalars of every type and small, possibly nested arrays) from the input
// bytes and runs every conversion and array access on them. Qorkit exceptions are expected
// outcomes; crashes, sanitizer reports and broken invariants are not.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_byte_reader.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/variant.h"

using namespace qorkit;

namespace {

// The input with a reader of short texts for the string-holding variants.
class Reader : public FuzzByteReader {
  public:
    using FuzzByteReader::FuzzByteReader;
    String Text() {
        const std::size_t n = Byte() % 24;
        String s;
        for (std::size_t i = 0; i < n; ++i) {
            // Mostly digits, signs and letters of number syntax, sometimes any code unit.
            static const char16_t kAlphabet[] = u"0123456789+-.eE $xXaAfFtTrRuUlLsSnNiI\r\n";
            const std::uint8_t b = Byte();
            s += (b & 0x80) ? static_cast<Char>(Raw<std::uint16_t>())
                            : kAlphabet[b % (sizeof(kAlphabet) / sizeof(char16_t) - 1)];
        }
        return s;
    }
};

const std::uint16_t kTypes[] = {varEmpty,    varNull,
                                varSmallint, varInteger,
                                varSingle,   varDouble,
                                varCurrency, varDate,
                                varOleStr,   varError,
                                varBoolean,  varVariant,
                                varShortInt, varByte,
                                varWord,     varLongWord,
                                varInt64,    varUInt64,
                                varString,   varUString,
                                99,          varArray | varInteger};

// An index near `low`: one below it up to a few above, clamped to the 32-bit range.
std::int32_t NearIndex(std::int32_t low, Reader& r) {
    const std::int64_t i = static_cast<std::int64_t>(low) + r.Byte() % 6 - 1;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(i, INT32_MIN, INT32_MAX));
}

std::uint16_t AnyType(Reader& r) {
    return kTypes[r.Byte() % (sizeof(kTypes) / sizeof(kTypes[0]))];
}

Variant Build(Reader& r, int depth);

Variant BuildArray(Reader& r, int depth) {
    std::vector<std::int32_t> bounds;
    const int dims = 1 + r.Byte() % 3;
    const bool raw = (r.Byte() & 7) == 0;
    std::int64_t count = 1;
    for (int d = 0; d < dims; ++d) {
        std::int32_t lo = 0, hi = 0;
        if (raw) {
            lo = r.Raw<std::int32_t>();
            hi = r.Raw<std::int32_t>();
        } else {
            lo = static_cast<std::int8_t>(r.Byte());
            hi = lo + r.Byte() % 5 - 1;
        }
        bounds.push_back(lo);
        bounds.push_back(hi);
        const std::int64_t extent = static_cast<std::int64_t>(hi) - lo + 1;
        constexpr std::int64_t kHuge = std::int64_t{1} << 40;  // saturate: no overflow here
        if (extent < 0 || count < 0)
            count = -1;
        else if (extent != 0 && count > kHuge / extent)
            count = kHuge;
        else
            count *= extent;
    }
    // Arrays that would really be allocated stay small; larger requests must be refused.
    if (count > 4096 && count <= MaxVarArrayElements) return Variant(count);
    const std::uint16_t elemType = AnyType(r);
    Variant a = VarArrayCreate(bounds, elemType);                // may raise; the caller catches
    if (count < 0 || count > MaxVarArrayElements) std::abort();  // should have raised
    const int puts = r.Byte() % 6;
    for (int i = 0; i < puts && !r.Empty(); ++i) {
        std::vector<std::int32_t> idx;
        for (int d = 0; d < dims; ++d)
            idx.push_back(NearIndex(bounds[2 * d], r));
        try {
            a.PutElement(idx, Build(r, depth + 1));
        } catch (const Exception&) {
        }
    }
    return a;
}

Variant Build(Reader& r, int depth) {
    switch (r.Byte() % 22) {
        case 0:
            return Variant();
        case 1:
            return Variant::Null();
        case 2:
            return Variant::FromSmallint(r.Raw<std::int16_t>());
        case 3:
            return Variant(r.Raw<std::int32_t>());
        case 4:
            return Variant(r.Raw<float>());
        case 5:
            return Variant(r.Raw<double>());
        case 6:
            return Variant::FromCurrencyScaled(r.Raw<std::int64_t>());
        case 7:
            return Variant::FromDate(r.Raw<double>());
        case 8:
            return Variant::FromOleStr(r.Text());
        case 9:
            return Variant::FromAnsiString(r.Text());
        case 10:
            return Variant(r.Text());
        case 11:
            return Variant((r.Byte() & 1) != 0);
        case 12:
            return Variant::FromShortInt(r.Raw<std::int8_t>());
        case 13:
            return Variant::FromByte(r.Byte());
        case 14:
            return Variant::FromWord(r.Raw<std::uint16_t>());
        case 15:
            return Variant::FromLongWord(r.Raw<std::uint32_t>());
        case 16:
            return Variant(r.Raw<std::int64_t>());
        case 17:
            return Variant(r.Raw<std::uint64_t>());
        case 18:
            return Variant::FromError(r.Raw<std::int32_t>());
        case 19:
            return Variant::FromCurrency(r.Raw<double>());  // may raise
        case 20:
            if (depth < 3) return BuildArray(r, depth);
            return Variant(1);
        default: {
            if (depth >= 3) return Variant(2);
            std::vector<Variant> items(r.Byte() % 5);
            for (auto& v : items)
                v = Build(r, depth + 1);
            return VarArrayOf(items);
        }
    }
}

void Exercise(const Variant& v, Reader& r, int depth) {
    try {
        (void)v.AsString();
    } catch (const Exception&) {
    }
    try {
        (void)v.AsDouble();
    } catch (const Exception&) {
    }
    try {
        (void)v.AsInteger();
    } catch (const Exception&) {
    }
    try {
        (void)v.AsInt64();
    } catch (const Exception&) {
    }
    try {
        (void)v.AsBoolean();
    } catch (const Exception&) {
    }
    try {
        (void)VarToStr(v);
    } catch (const Exception&) {
    }
    try {
        const Variant c = VarAsType(v, AnyType(r));
        (void)VarToStr(c);
    } catch (const Exception&) {
    }

    // A copy has the same type and the same text.
    const Variant copy = v;
    if (VarType(copy) != VarType(v)) std::abort();
    if (!VarIsArray(v)) {
        try {
            if (VarToStr(copy) != VarToStr(v)) std::abort();
        } catch (const Exception&) {
        }
        // An integer that converts must read back as the same integer.
        try {
            const std::int32_t i = v.AsInteger();
            if (Variant(i).AsInt64() != i) std::abort();
        } catch (const Exception&) {
        }
        return;
    }

    const std::int32_t dims = VarArrayDimCount(v);
    if (dims < 1 || dims > MaxVarArrayDims) std::abort();
    std::vector<std::int32_t> idx;
    for (std::int32_t d = 1; d <= dims; ++d)
        idx.push_back(NearIndex(VarArrayLowBound(v, d), r));
    try {
        (void)VarArrayLowBound(v, static_cast<std::int8_t>(r.Byte()));
    } catch (const Exception&) {
    }
    try {
        const Variant e = v.GetElement(idx);
        if (depth < 4) Exercise(e, r, depth + 1);
    } catch (const Exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader r(data, size);
    while (!r.Empty()) {
        try {
            const Variant v = Build(r, 0);
            Exercise(v, r, 0);
        } catch (const Exception&) {
        }
    }
    return 0;
}
