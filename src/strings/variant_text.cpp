// Variants as readable text.
#include "qorkit/strings/variant_text.h"

#include <optional>
#include <vector>

#include "qorkit/rtl/sysutils.h"
#include "qorkit/strings/number_format.h"

namespace qorkit {

namespace {

constexpr std::int64_t kMaxCols = 12;
constexpr std::int64_t kMaxLines = 10;
constexpr std::int64_t kMaxLayers = 3;

String ScalarText(const Variant& v) {
    const std::uint16_t t = VarType(v) & varTypeMask;
    switch (t) {
        case varNull:
            return u"NULL";
        case varSmallint:
        case varInteger:
        case varShortInt:
        case varByte:
        case varWord:
        case varLongWord:
        case varInt64:
        case varUInt64:
            return VarToStr(v);
        case varSingle:
        case varDouble:
            return strff(v.AsDouble(), 10, -2);
        case varBoolean:
            return v.AsBoolean() ? u"TRUE" : u"FALSE";
        case varString:
        case varUString:
            return v.AsString();
        default: {
            // Appended piece by piece: GCC 12 misreads the operator+ chain (-Wrestrict).
            String text = u"(unknown type: ";
            text += IntToStr(t);
            text += u')';
            return text;
        }
    }
}

String ElementText(const std::optional<Variant>& e) {
    if (!e) return String();
    return VarIsArray(*e) ? String(u"(array)") : ScalarText(*e);
}

struct Dim {
    std::int32_t Low = 0;
    std::int32_t High = -1;
    std::int64_t Count() const { return std::max<std::int64_t>(0, std::int64_t{High} - Low + 1); }
    // The first min(Count, limit) indexes.
    std::int64_t Shown(std::int64_t limit) const { return std::min(Count(), limit); }
};

Dim DimOf(const Variant& a, std::int32_t d) {
    return Dim{VarArrayLowBound(a, d), VarArrayHighBound(a, d)};
}

// Element `index` of dimension 1 of the array `a`, the other dimensions at their low bounds;
// nothing when `a` is not an array or the index is outside its bounds.
std::optional<Variant> Elem(const std::optional<Variant>& a, std::int32_t index) {
    if (!a || !VarIsArray(*a)) return std::nullopt;
    const std::int32_t dims = VarArrayDimCount(*a);
    const Dim d1 = DimOf(*a, 1);
    if (index < d1.Low || index > d1.High) return std::nullopt;
    std::vector<std::int32_t> ix(static_cast<std::size_t>(dims));
    ix[0] = index;
    for (std::int32_t d = 2; d <= dims; ++d) {
        const Dim dd = DimOf(*a, d);
        if (dd.Count() == 0) return std::nullopt;
        ix[static_cast<std::size_t>(d - 1)] = dd.Low;
    }
    return a->GetElement(ix);
}

}  // namespace

String ConvertVariant(const Variant& v) {
    if (!VarIsArray(v)) return ScalarText(v);
    const std::int32_t dimCount = VarArrayDimCount(v);
    Dim dims[3];
    dims[0] = DimOf(v, 1);
    if (dims[0].Count() == 0) return u"undefined array";
    std::int32_t d = 1;
    // Shown cells, indexed [k][j][i].
    const bool genuine = dimCount >= 2;
    if (genuine) {
        d = std::min(dimCount, 3);
        for (std::int32_t k = 1; k < d; ++k)
            dims[k] = DimOf(v, k + 1);
    } else {
        std::optional<Variant> first = Elem(v, dims[0].Low);
        while (d < 3 && first && VarIsArray(*first)) {
            dims[d] = DimOf(*first, 1);
            ++d;
            first = dims[d - 1].Count() > 0 ? Elem(first, dims[d - 1].Low) : std::nullopt;
        }
    }
    const std::int64_t ni = dims[0].Shown(kMaxCols);
    const std::int64_t nj = d >= 2 ? dims[1].Shown(kMaxLines) : 1;
    const std::int64_t nk = d >= 3 ? dims[2].Shown(kMaxLayers) : 1;
    std::vector<String> cells(static_cast<std::size_t>(ni * nj * nk));
    const auto cell = [&](std::int64_t i, std::int64_t j, std::int64_t k) -> String& {
        return cells[static_cast<std::size_t>((k * nj + j) * ni + i)];
    };
    const auto index = [&](int dim, std::int64_t n) {
        return static_cast<std::int32_t>(dims[dim].Low + n);
    };
    if (genuine) {
        std::vector<std::int32_t> ix(static_cast<std::size_t>(dimCount));
        for (std::int32_t x = 3; x < dimCount; ++x) {
            const Dim dd = DimOf(v, x + 1);
            if (dd.Count() == 0) return u"undefined array";
            ix[static_cast<std::size_t>(x)] = dd.Low;
        }
        for (std::int64_t k = 0; k < nk; ++k)
            for (std::int64_t j = 0; j < nj; ++j)
                for (std::int64_t i = 0; i < ni; ++i) {
                    if ((d >= 2 && dims[1].Count() == 0) || (d >= 3 && dims[2].Count() == 0))
                        continue;
                    ix[0] = index(0, i);
                    if (d >= 2) ix[1] = index(1, j);
                    if (d >= 3) ix[2] = index(2, k);
                    cell(i, j, k) = ElementText(v.GetElement(ix));
                }
    } else {
        const std::optional<Variant> top(v);
        for (std::int64_t i = 0; i < ni; ++i) {
            const std::optional<Variant> row = Elem(top, index(0, i));
            if (d == 1) {
                cell(i, 0, 0) = ElementText(row);
                continue;
            }
            for (std::int64_t j = 0; j < nj; ++j) {
                const std::optional<Variant> col = Elem(row, index(1, j));
                if (d == 2) {
                    cell(i, j, 0) = ElementText(col);
                    continue;
                }
                for (std::int64_t k = 0; k < nk; ++k)
                    cell(i, j, k) = ElementText(Elem(col, index(2, k)));
            }
        }
    }

    String out = u"Array";
    for (std::int32_t k = 0; k < d; ++k) {
        out += u'[';
        out += IntToStr(dims[k].Low);
        out += u',';
        out += IntToStr(dims[k].High);
        out += u']';
    }
    out += u":\r\n";
    const auto line = [&](std::int64_t j, std::int64_t k) {
        for (std::int64_t i = 0; i < ni; ++i) {
            if (i > 0) out += u',';
            out += cell(i, j, k);
        }
        if (dims[0].Count() > kMaxCols) out += u"...";
    };
    const auto block = [&](std::int64_t k) {
        for (std::int64_t j = 0; j < dims[1].Shown(kMaxLines); ++j) {
            line(j, k);
            out += u"\r\n";
        }
    };
    if (d == 1) {
        line(0, 0);
    } else if (d == 2) {
        block(0);
        if (dims[1].Count() > kMaxLines) out += u" ......";
    } else {
        for (std::int64_t k = 0; k < dims[2].Shown(kMaxLayers); ++k) {
            out += u"layer ";
            out += IntToStr(index(2, k));
            out += u":\r\n";
            block(k);
            if (dims[1].Count() > kMaxLines) out += u" ......\r\n";
        }
        if (dims[2].Count() > kMaxLayers) out += u" ... more layers";
    }
    return out;
}

}  // namespace qorkit
