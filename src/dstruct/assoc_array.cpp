#include "qorkit/dstruct/assoc_array.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <typeinfo>

#include "../core/leading_integer.h"
#include "assign_to.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"
#include "xml_line.h"

namespace qorkit {

namespace {

using detail::LowerAZ;

/// Reservations at creation and clearing are capped: the step is taken without checks, and a
/// huge one must not demand gigabytes before any entry exists.
constexpr std::int32_t kMaxReserve = 1 << 16;

bool IsDigit(Char c) noexcept {
    return c >= u'0' && c <= u'9';
}

/// The leading number of `s` (see `ResolveAsNumber`).
double ScanLeadingNumber(std::u16string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    std::string text;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) text.push_back(static_cast<char>(s[i++]));
    bool digits = false;
    while (i < s.size() && IsDigit(s[i])) {
        text.push_back(static_cast<char>(s[i++]));
        digits = true;
    }
    if (i < s.size() && (s[i] == u'.' || s[i] == u',')) {
        const std::size_t mark = text.size();
        text.push_back('.');
        ++i;
        bool fraction = false;
        while (i < s.size() && IsDigit(s[i])) {
            text.push_back(static_cast<char>(s[i++]));
            fraction = true;
        }
        digits = digits || fraction;
        if (!fraction) text.resize(mark);
    }
    if (!digits) return 0.0;
    if (i < s.size() && (s[i] == u'E' || s[i] == u'e')) {
        std::size_t j = i + 1;
        std::string exponent = "E";
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            exponent.push_back(static_cast<char>(s[j++]));
        bool expDigits = false;
        while (j < s.size() && IsDigit(s[j])) {
            // Beyond six digits the value is 0 or out of range anyway; keep the text short.
            if (exponent.size() < 8) exponent.push_back(static_cast<char>(s[j]));
            ++j;
            expDigits = true;
        }
        if (expDigits) text += exponent;
    }
    long double v = 0;
    if (!TryStrToFloat(FromUtf8(text), v)) return 0.0;  // beyond the extended range
    if (v > std::numeric_limits<double>::max()) return std::numeric_limits<double>::infinity();
    if (v < -std::numeric_limits<double>::max()) return -std::numeric_limits<double>::infinity();
    return static_cast<double>(v);
}

/// The leading integer of `s` (see `ResolveAsInt`).
std::int32_t ScanLeadingInteger(std::u16string_view s) {
    bool overflow = false;
    const std::int64_t v = detail::ReadLeadingInteger(s, std::int64_t{INT32_MAX} + 1, overflow);
    if (overflow || v > INT32_MAX)
        throw EVariantOverflowError(u"Integer overflow reading \"" + String(s) + u"\"");
    return static_cast<std::int32_t>(v);
}

}  // namespace

std::size_t TAssocArray::TFoldHash::operator()(std::u16string_view s) const noexcept {
    // Four folded code units per step: one multiply per 64 bits instead of one per unit.
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ s.size();
    std::size_t i = 0;
    const auto fold = [](Char c) -> std::uint64_t {
        return static_cast<std::uint16_t>(c + (static_cast<unsigned>(c - u'A') < 26u ? 32 : 0));
    };
    for (; i + 4 <= s.size(); i += 4) {
        const std::uint64_t v =
            fold(s[i]) | fold(s[i + 1]) << 16 | fold(s[i + 2]) << 32 | fold(s[i + 3]) << 48;
        h = (h ^ v) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    }
    std::uint64_t v = 0;
    for (int shift = 0; i < s.size(); ++i, shift += 16)
        v |= fold(s[i]) << shift;
    h = (h ^ v) * 0x94D049BB133111EBull;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return static_cast<std::size_t>(h);
}

bool TAssocArray::TFoldEqual::operator()(std::u16string_view a,
                                         std::u16string_view b) const noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && LowerAZ(a[i]) != LowerAZ(b[i])) return false;
    return true;
}

TAssocArray::TAssocArray(TComponent* AOwner) : TComponent(AOwner) {
    FKeyArray.reserve(static_cast<std::size_t>(FGranularity));
    FDataArray.reserve(static_cast<std::size_t>(FGranularity));
}

std::int32_t TAssocArray::Find(std::u16string_view Key) const {
    const auto it = FIndex.find(Key);
    if (it == FIndex.end()) return -1;
    const TPositions& p = it->second;
    if (FIgnoreCase) {
        std::int32_t best = p.First;
        for (const std::int32_t q : p.More)
            best = std::min(best, q);
        return best;
    }
    std::int32_t best = -1;
    const auto consider = [&](std::int32_t q) {
        if ((best < 0 || q < best) && FKeyArray[static_cast<std::size_t>(q)] == Key) best = q;
    };
    consider(p.First);
    for (const std::int32_t q : p.More)
        consider(q);
    return best;
}

void TAssocArray::IndexAdd(std::int32_t Pos) {
    const String& key = FKeyArray[static_cast<std::size_t>(Pos)];
    auto it = FIndex.find(std::u16string_view(key));
    if (it == FIndex.end()) {
        String folded = LowerCase(key);
        FIndex.emplace(std::move(folded), TPositions{Pos, {}});
        return;
    }
    it->second.More.push_back(Pos);
}

void TAssocArray::IndexRemove(std::u16string_view Key, std::int32_t Pos) {
    const auto it = FIndex.find(Key);
    if (it == FIndex.end()) return;
    TPositions& p = it->second;
    if (p.First == Pos) {
        if (p.More.empty()) {
            FIndex.erase(it);
            return;
        }
        p.First = p.More.back();
        p.More.pop_back();
        return;
    }
    const auto q = std::find(p.More.begin(), p.More.end(), Pos);
    if (q != p.More.end()) {
        *q = p.More.back();
        p.More.pop_back();
    }
}

void TAssocArray::IndexMove(std::u16string_view Key, std::int32_t From, std::int32_t To) {
    const auto it = FIndex.find(Key);
    if (it == FIndex.end()) return;
    TPositions& p = it->second;
    if (p.First == From) {
        p.First = To;
        return;
    }
    std::replace(p.More.begin(), p.More.end(), From, To);
}

void TAssocArray::Reindex() {
    FIndex.clear();
    FIndex.reserve(FKeyArray.size());
    for (std::size_t i = 0; i < FKeyArray.size(); ++i)
        IndexAdd(static_cast<std::int32_t>(i));
}

void TAssocArray::MakeRoom() {
    // The arrays grow by the step, or geometrically once that is larger, so that adding one
    // entry at a time stays amortised constant time whatever the step.
    const std::size_t n = FKeyArray.size() + 1;
    if (n <= FKeyArray.capacity()) return;
    const std::size_t step = static_cast<std::size_t>(std::max(FGranularity, 1));
    const std::size_t want =
        std::max(n + step - 1, FKeyArray.capacity() + FKeyArray.capacity() / 2);
    FKeyArray.reserve(want);
    FDataArray.reserve(want);
}

void TAssocArray::Add(const String& Key, const Variant& Value) {
    const String key = FIgnoreCase ? LowerCase(Key) : Key;
    const std::int32_t at = Find(key);
    if (at >= 0) {
        FDataArray[static_cast<std::size_t>(at)] = Value;
        return;
    }
    MakeRoom();
    Variant copy = Value;  // before anything changes: a failed copy leaves the array as it was
    FKeyArray.push_back(key);
    FDataArray.push_back(std::move(copy));
    try {
        IndexAdd(static_cast<std::int32_t>(FKeyArray.size() - 1));
    } catch (...) {
        FKeyArray.pop_back();
        FDataArray.pop_back();
        throw;
    }
}

bool TAssocArray::Remove(const String& Key) {
    const std::int32_t at = Find(Key);
    if (at < 0) return false;
    const auto last = static_cast<std::int32_t>(FKeyArray.size() - 1);
    IndexRemove(FKeyArray[static_cast<std::size_t>(at)], at);
    if (at != last) {
        IndexMove(FKeyArray[static_cast<std::size_t>(last)], last, at);
        FKeyArray[static_cast<std::size_t>(at)] = std::move(FKeyArray.back());
        FDataArray[static_cast<std::size_t>(at)] = std::move(FDataArray.back());
    }
    FKeyArray.pop_back();
    FDataArray.pop_back();
    return true;
}

Variant TAssocArray::Resolve(const String& Key) const {
    const std::int32_t at = Find(Key);
    return at < 0 ? Variant::Null() : FDataArray[static_cast<std::size_t>(at)];
}

String TAssocArray::ResolveAsString(const String& Key) const {
    const std::int32_t at = Find(Key);
    if (at < 0) return {};
    const Variant& v = FDataArray[static_cast<std::size_t>(at)];
    return VarIsNull(v) ? String() : v.AsString();
}

double TAssocArray::ResolveAsNumber(const String& Key) const {
    const std::int32_t at = Find(Key);
    if (at < 0) return 0.0;
    const Variant& v = FDataArray[static_cast<std::size_t>(at)];
    const std::uint16_t t = VarType(v);
    if ((t >= varSmallint && t <= varCurrency) || (t >= varShortInt && t <= varInt64))
        return v.AsDouble();
    if (t == varString || t == varUString) return ScanLeadingNumber(v.AsString());
    return 0.0;
}

std::int32_t TAssocArray::ResolveAsInt(const String& Key) const {
    const std::int32_t at = Find(Key);
    if (at < 0) return 0;
    const Variant& v = FDataArray[static_cast<std::size_t>(at)];
    const std::uint16_t t = VarType(v);
    if (t == varSmallint || t == varInteger || t == varSingle || t == varDouble ||
        (t >= varShortInt && t <= varInt64))
        return v.AsInteger();  // floating-point values round half to even
    if (t == varString || t == varUString) return ScanLeadingInteger(v.AsString());
    return 0;
}

String TAssocArray::GetKeys(std::int32_t ix) const {
    if (ix < 1 || ix > NumEntries()) return {};
    return FKeyArray[static_cast<std::size_t>(ix - 1)];
}

void TAssocArray::SetKeys(std::int32_t ix, const String& Value) {
    if (ix < 1 || ix > NumEntries()) return;
    const auto pos = static_cast<std::size_t>(ix - 1);
    String old = std::move(FKeyArray[pos]);
    IndexRemove(old, ix - 1);
    FKeyArray[pos] = Value;
    try {
        IndexAdd(ix - 1);
    } catch (...) {
        FKeyArray[pos] = std::move(old);
        Reindex();
        throw;
    }
}

Variant TAssocArray::GetValues(std::int32_t ix) const {
    if (ix < 1 || ix > NumEntries()) return Variant(String());
    return FDataArray[static_cast<std::size_t>(ix - 1)];
}

void TAssocArray::SetValues(std::int32_t ix, const Variant& Value) {
    if (ix < 1 || ix > NumEntries()) return;
    FDataArray[static_cast<std::size_t>(ix - 1)] = Value;
}

void TAssocArray::Clear() {
    const auto slots = static_cast<std::size_t>(std::clamp(FGranularity, 0, kMaxReserve));
    std::vector<String>().swap(FKeyArray);
    std::vector<Variant>().swap(FDataArray);
    FIndex.clear();
    FKeyArray.reserve(slots);
    FDataArray.reserve(slots);
}

void TAssocArray::Assign(const TPersistent* Source) {
    const auto* src = dynamic_cast<const TAssocArray*>(Source);
    if (src == nullptr) {
        TComponent::Assign(Source);
        return;
    }
    if (src == this) return;
    // Built aside, so that a failure leaves this array as it was.
    std::vector<String> keys = src->FKeyArray;
    std::vector<Variant> values = src->FDataArray;
    decltype(FIndex) index = src->FIndex;
    FKeyArray = std::move(keys);
    FDataArray = std::move(values);
    FIndex = std::move(index);
    FGranularity = src->FGranularity;
    FIgnoreCase = src->FIgnoreCase;
    FDataID = src->FDataID;
}

void TAssocArray::AssignTo(TPersistent* Dest) const {
    if (!detail::AssignToOwnClass(*this, Dest)) TComponent::AssignTo(Dest);
}

}  // namespace qorkit
