// TFeatureMatrix::GenerateFeatNames: feature names from a template with placeholders.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "../core/leading_integer.h"
#include "qorkit/dstruct/feature_matrix.h"
#include "qorkit/rtl/datetime.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

namespace {

/// Fields wider than this fail the expansion: a name of a million blanks is no name.
constexpr std::int64_t kMaxField = 1000;
/// An expansion longer than this fails, so that a placeholder that produces placeholders
/// cannot grow for ever.
constexpr std::size_t kMaxExpansion = 65536;

/// The argument: optional leading blanks, an optional sign, digits (none give 0), the rest
/// ignored. Saturates far beyond any usable field width.
std::int64_t ReadArgument(std::u16string_view s) {
    bool overflow = false;
    return detail::ReadLeadingInteger(s, std::int64_t{1} << 40, overflow);
}

/// `k` in decimal laid out by field `n` (see `GenerateFeatNames`); false for a field too wide.
bool Decimal(std::int64_t k, std::int64_t n, String& out) {
    if (n > kMaxField || n < -kMaxField) return false;
    if (n == 0) {
        out = IntToStr(k);
    } else if (n > 0) {
        const String s = IntToStr(k);
        const auto width = static_cast<std::size_t>(n);
        out = s.size() >= width ? s.substr(s.size() - width) : String(width - s.size(), u' ') + s;
    } else {
        const auto width = static_cast<std::size_t>(-n);
        // |k| stays below 2^62: FirstNum, Delta and the feature offset are 32-bit values.
        String digits = IntToStr(k < 0 ? -k : k);
        digits = digits.size() >= width ? digits.substr(digits.size() - width)
                                        : String(width - digits.size(), u'0') + digits;
        out = k < 0 ? u"-" + digits : digits;
    }
    return true;
}

/// Expands `text` for feature `i` and number `k`; false when it fails.
bool Expand(String text, std::int32_t i, std::int64_t k, TDateTime now, String& result) {
    for (;;) {
        const std::size_t open = text.find(u"<%");
        if (open == String::npos) break;
        const std::size_t close = text.find(u"%>");
        if (close == String::npos || close < open + 3) return false;  // no letter between
        const Char letter = UpCase(text[open + 2]);
        const std::u16string_view arg =
            std::u16string_view(text).substr(open + 3, close - (open + 3));
        String piece;
        switch (letter) {
            case u'D':
                if (!Decimal(k, ReadArgument(arg), piece)) return false;
                break;
            case u'I':
                if (!Decimal(i, ReadArgument(arg), piece)) return false;
                break;
            case u'H': {
                const auto digits =
                    static_cast<std::int32_t>(std::clamp<std::int64_t>(ReadArgument(arg), 1, 8));
                piece = IntToHex(static_cast<std::int32_t>(static_cast<std::uint32_t>(k)), digits);
                piece = piece.substr(piece.size() - static_cast<std::size_t>(digits));
                break;
            }
            case u'T':
                piece = FormatDateTime(String(arg), now);
                break;
            default:
                return false;  // the placeholder would read "###"
        }
        text.replace(open, close + 2 - open, piece);
        if (text.size() > kMaxExpansion) return false;
    }
    result = std::move(text);
    return true;
}

}  // namespace

std::int32_t TFeatureMatrix::GenerateFeatNames(const String& Template, std::int32_t IxFrom,
                                               std::int32_t IxTo, std::int32_t FirstNum,
                                               std::int32_t Delta) {
    if (IxFrom == 0 && IxTo == 0) {
        IxFrom = 1;
        IxTo = FNFeats;
    }
    if (!ValidFeat(IxFrom) || !ValidFeat(IxTo)) return -1;
    if (IxFrom > IxTo) std::swap(IxFrom, IxTo);
    const TDateTime now = Now();
    for (std::int32_t f = IxFrom; f <= IxTo; ++f) {
        const std::int64_t k =
            std::int64_t{FirstNum} + std::int64_t{f - IxFrom} * std::int64_t{Delta};
        String name;
        if (!Expand(Template, f, k, now, name)) return -2;
        FFeatProps[static_cast<std::size_t>(f - 1)]->SetFeatName(name);
    }
    return 0;
}

}  // namespace qorkit
