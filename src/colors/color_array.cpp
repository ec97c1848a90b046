#include "qorkit/colors/color_array.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <typeinfo>
#include <utility>

#include "color_detail.h"
#include "qorkit/colors/color_models.h"
#include "qorkit/colors/color_tables.h"

namespace qorkit {

using detail::RoundHalfEven;

namespace {

constexpr std::int32_t kInitialSize = 1000;

std::size_t Pos(std::int32_t ix) {
    return static_cast<std::size_t>(ix - 1);
}

}  // namespace

TColorArray::TColorArray(TComponent* AOwner) : TComponent(AOwner) {
    GuardAllocation<EQORColArrayError>(ComponentMessage(*this, kMsgNoHeapMemory), [&] {
        FColArray.assign(kInitialSize, 0);
        FColArrayBak.assign(kInitialSize, 0);
    });
    FNColors = kInitialSize;
    FillByInterpolation(0, ColorArray_Rainbow);
    Backup();
}

TColorArray::~TColorArray() = default;

void TColorArray::Assign(const TPersistent* Source) {
    const auto* other = dynamic_cast<const TColorArray*>(Source);
    if (other == nullptr) {
        TComponent::Assign(Source);
        return;
    }
    if (other == this) return;
    GuardAllocation<EQORColArrayError>(ComponentMessage(*this, kMsgNoMemory), [&] {
        std::vector<TColor> colors = other->FColArray, backup = other->FColArrayBak;
        FColArray.swap(colors);
        FColArrayBak.swap(backup);
    });
    FNColors = other->FNColors;
}

void TColorArray::AssignTo(TPersistent* Dest) const {
    // Into an array of this class or of a class this one descends from; the library's own
    // class stands for the latter, as C++ cannot name an arbitrary ancestor at run time.
    auto* target = dynamic_cast<TColorArray*>(Dest);
    if (target != nullptr &&
        (typeid(*target) == typeid(TColorArray) || typeid(*target) == typeid(*this))) {
        target->Assign(this);
        return;
    }
    TComponent::AssignTo(Dest);
}

void TColorArray::SetSize(std::int32_t n) {
    if (n > 0 && n != FNColors) Resize(n);
}

bool TColorArray::Resize(std::int32_t n) {
    if (n == FNColors) return true;
    if (n < 1) return false;
    GuardAllocation<EQORColArrayError>(ComponentMessage(*this, kMsgNoMemory), [&] {
        // Both arrays are built aside first, so a failure leaves the array as it was.
        std::vector<TColor> colors(static_cast<std::size_t>(n), 0);
        std::vector<TColor> backup(static_cast<std::size_t>(n), 0);
        const auto kept = static_cast<std::ptrdiff_t>(std::min(n, FNColors));
        std::copy_n(FColArray.begin(), kept, colors.begin());
        std::copy_n(FColArrayBak.begin(), kept, backup.begin());
        FColArray.swap(colors);
        FColArrayBak.swap(backup);
    });
    FNColors = n;
    Changed();
    return true;
}

TColor TColorArray::GetColorElem(std::int32_t ix) const noexcept {
    if (FColArray.empty()) return 0;
    return FColArray[Pos(std::clamp(ix, 1, FNColors))];
}

void TColorArray::SetColorElem(std::int32_t ix, TColor Value) {
    if (ix < 1 || ix > FNColors) return;
    FColArray[Pos(ix)] = Value;
    Changed();
}

bool TColorArray::IsEqual(const TColorArray* OtherColorArray) const noexcept {
    return OtherColorArray != nullptr && OtherColorArray->FNColors == FNColors &&
           OtherColorArray->FColArray == FColArray;
}

void TColorArray::Fill(TColor Color) {
    std::fill(FColArray.begin(), FColArray.end(), Color);
    Changed();
}

void TColorArray::FillByInterpolation(std::int32_t DiscreteLevels, std::span<const TColor> Colors) {
    if (Colors.empty()) return;
    const std::vector<TColor> entries(Colors.begin(), Colors.end());  // Colors may alias us
    const auto H = static_cast<std::int64_t>(entries.size()) - 1;
    const std::int64_t N = FNColors;
    for (std::int64_t i = 1; i <= N; ++i) {
        std::int64_t j = i;
        if (DiscreteLevels > 0) {
            const std::int32_t t = RoundHalfEven(static_cast<long double>(i) / N * DiscreteLevels);
            j = RoundHalfEven(t * (static_cast<long double>(N) / DiscreteLevels));
        }
        TColor c = entries.front();
        if (H > 0) {
            // The sector is kept inside the list: a quantised j of 0 with more entries than
            // elements would otherwise ask for the entry before the first.
            const std::int64_t k = std::clamp<std::int64_t>(((j - 1) * H) / N, 0, H - 1);
            const long double f = static_cast<long double>(H * j) / N - k;
            c = InterpolateColor(entries[static_cast<std::size_t>(k)],
                                 entries[static_cast<std::size_t>(k + 1)], static_cast<double>(f));
        }
        FColArray[static_cast<std::size_t>(i - 1)] = c;
    }
    Changed();
}

void TColorArray::LogTransform(double Gamma) {
    const long double g = detail::Clamp01(Gamma);
    const std::int32_t N = FNColors;
    if (N > 1 && g > 0) {
        const long double lnN = std::log(static_cast<long double>(N));
        for (std::int32_t i = 1; i <= N; ++i) {
            const long double x =
                std::log(static_cast<long double>(i)) * g * N / lnN + (1 - g) * (i - 1);
            const std::int32_t j = std::min(RoundHalfEven(x) + 1, N);
            // j >= i, so colour j still holds its earlier value.
            FColArray[Pos(i)] = FColArray[Pos(std::max(j, 1))];
        }
    }
    Changed();
}

std::int32_t TColorArray::ColorToIndex(TColor cl, double& distance) const {
    // The distance grows strictly with the integer sum of squared channel differences (distinct
    // sums lie far more than a rounding step apart), so the search compares sums and computes
    // the one distance it returns; index and distance are those of the distance comparison.
    // A distance below 1 is a sum below 3 * 255^2.
    const std::int32_t r = RedOf(cl), g = GreenOf(cl), b = BlueOf(cl);
    std::int32_t best = 195075;
    std::int32_t index = 1;
    for (std::int32_t i = 0; i < FNColors; ++i) {
        const TColor c = FColArray[static_cast<std::size_t>(i)];
        const std::int32_t dr = RedOf(c) - r, dg = GreenOf(c) - g, db = BlueOf(c) - b;
        const std::int32_t sum = dr * dr + dg * dg + db * db;
        if (sum < best) {
            best = sum;
            index = i + 1;
        }
    }
    distance = best == 195075 ? 1.0 : RGBColorDistance(cl, FColArray[Pos(index)]);
    return index;
}

void TColorArray::CopyFrom(const TColorArray* ColArraySource, std::int32_t SourceElemLo,
                           std::int32_t SourceElemHi, std::int32_t DestElem) {
    if (ColArraySource == nullptr) return;
    const std::int32_t n = ColArraySource->Size();
    std::int32_t lo = std::clamp(SourceElemLo, 1, n), hi = std::clamp(SourceElemHi, 1, n);
    if (hi < lo) std::swap(lo, hi);
    // Read before writing, so that a copy within this array behaves like one between two.
    const std::vector<TColor> source(ColArraySource->FColArray.begin() + (lo - 1),
                                     ColArraySource->FColArray.begin() + hi);
    for (std::int64_t ix = lo; ix <= hi; ++ix) {
        const std::int64_t dest = ix - lo + DestElem;
        if (dest >= 1 && dest <= FNColors)
            FColArray[static_cast<std::size_t>(dest - 1)] =
                source[static_cast<std::size_t>(ix - lo)];
    }
    Changed();
}

void TColorArray::MirrorColors() {
    std::reverse(FColArray.begin(), FColArray.end());
    Changed();
}

void TColorArray::InvertColors() {
    for (TColor& c : FColArray)
        c = InvertColor(c);
    Changed();
}

void TColorArray::ReverseRGB() {
    for (TColor& c : FColArray)
        c = ReverseRGBColor(c);
    Changed();
}

void TColorArray::Backup() {
    FColArrayBak = FColArray;
}

void TColorArray::Restore() {
    FColArray = FColArrayBak;
    Changed();
}

void TColorArray::Changed() {
    if (FOnChange) FOnChange(this);
}

}  // namespace qorkit
