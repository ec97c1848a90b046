#include "raster.h"

#include <cmath>

namespace qorkit::detail {

namespace {

std::int64_t Abs64(std::int64_t v) {
    return v < 0 ? -v : v;
}

std::int64_t FloorDiv(Int128 num, Int128 den) {
    Int128 q = num / den;
    if ((num % den != 0) && ((num < 0) != (den < 0))) --q;
    return static_cast<std::int64_t>(q);
}

}  // namespace

void WalkLine(TPoint A, TPoint B, const ClipBox& clip,
              void (*visit)(void* ctx, std::int64_t i, std::int64_t x, std::int64_t y), void* ctx) {
    const std::int64_t dx = static_cast<std::int64_t>(B.X) - A.X;
    const std::int64_t dy = static_cast<std::int64_t>(B.Y) - A.Y;
    const std::int64_t n = std::max(Abs64(dx), Abs64(dy));
    if (n == 0) return;
    const bool xMajor = Abs64(dx) >= Abs64(dy);
    const std::int64_t sMaj = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t sMin = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t dMin = Abs64(xMajor ? dy : dx);
    const std::int64_t maj0 = xMajor ? A.X : A.Y;
    const std::int64_t min0 = xMajor ? A.Y : A.X;
    const std::int64_t cMaj0 = xMajor ? clip.X0 : clip.Y0, cMaj1 = xMajor ? clip.X1 : clip.Y1;
    const std::int64_t cMin0 = xMajor ? clip.Y0 : clip.X0, cMin1 = xMajor ? clip.Y1 : clip.X1;

    // Steps whose major coordinate lies in the clip box.
    std::int64_t lo = 0, hi = n - 1;
    if (sMaj > 0) {
        lo = std::max(lo, cMaj0 - maj0);
        hi = std::min(hi, cMaj1 - maj0);
    } else {
        lo = std::max(lo, maj0 - cMaj1);
        hi = std::min(hi, maj0 - cMaj0);
    }
    if (lo > hi) return;
    // The minor offset never decreases with the step, so the steps whose minor coordinate
    // lies in the box form one run, found by bisection.
    const std::int64_t mLo = sMin > 0 ? cMin0 - min0 : min0 - cMin1;
    const std::int64_t mHi = sMin > 0 ? cMin1 - min0 : min0 - cMin0;
    const auto offset = [&](std::int64_t i) {
        return static_cast<std::int64_t>((Int128{2} * i * dMin + n) / (Int128{2} * n));
    };
    if (offset(hi) < mLo || offset(lo) > mHi) return;
    std::int64_t a = lo, b = hi;
    while (a < b) {
        const std::int64_t mid = a + (b - a) / 2;
        if (offset(mid) >= mLo)
            b = mid;
        else
            a = mid + 1;
    }
    lo = a;
    b = hi;
    while (a < b) {
        const std::int64_t mid = a + (b - a + 1) / 2;
        if (offset(mid) <= mHi)
            a = mid;
        else
            b = mid - 1;
    }
    hi = a;
    const std::int64_t twoN = 2 * n;
    const Int128 start = Int128{2} * lo * dMin + n;
    std::int64_t m = static_cast<std::int64_t>(start / twoN);
    std::int64_t r = static_cast<std::int64_t>(start % twoN);
    for (std::int64_t i = lo; i <= hi; ++i) {
        const std::int64_t maj = maj0 + sMaj * i, mnr = min0 + sMin * m;
        if (xMajor)
            visit(ctx, i, maj, mnr);
        else
            visit(ctx, i, mnr, maj);
        r += 2 * dMin;
        if (r >= twoN) {
            r -= twoN;
            ++m;
        }
    }
}

Span EllipseRow(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                std::int64_t y) {
    const std::int64_t W = x2 - x1, H = y2 - y1;
    const std::int64_t v = 2 * y + 1 - (y1 + y2);
    if (W <= 0 || H <= 0 || Abs64(v) > H) return {};
    // Largest u >= 0 with u^2 H^2 <= W^2 (H^2 - v^2), the doubled offset of a pixel centre
    // from the centre; every product stays below 2^128.
    const UInt128 h2 = static_cast<UInt128>(H) * static_cast<UInt128>(H);
    const UInt128 rest = h2 - static_cast<UInt128>(Abs64(v)) * static_cast<UInt128>(Abs64(v));
    const UInt128 bound = static_cast<UInt128>(W) * static_cast<UInt128>(W) * rest;
    const long double q = static_cast<long double>(v) / static_cast<long double>(H);
    std::int64_t u = static_cast<std::int64_t>(static_cast<long double>(W) *
                                               std::sqrt(std::max(0.0L, 1.0L - q * q)));
    u = std::clamp<std::int64_t>(u, 0, W);
    const auto fits = [&](std::int64_t t) {
        const UInt128 tt = static_cast<UInt128>(t) * static_cast<UInt128>(t);
        return tt * h2 <= bound;
    };
    while (u > 0 && !fits(u))
        --u;
    while (u < W && fits(u + 1))
        ++u;
    // A pixel centre's doubled offset has the parity of W + 1.
    if (((u ^ (W + 1)) & 1) != 0) --u;
    if (u < 0) return {};
    return {(x1 + x2 - u - 1) / 2, (x1 + x2 + u - 1) / 2};
}

void PolygonRow(std::span<const TPoint> points, std::int64_t y, std::vector<Span>& out) {
    struct Crossing {
        std::int64_t Floor;
        std::int64_t Rem;  // fraction Rem / Den in [0, 1)
        std::int64_t Den;
    };
    std::vector<Crossing> xs;
    const std::size_t n = points.size();
    for (std::size_t k = 0; k < n; ++k) {
        const TPoint p = points[k], q = points[(k + 1) % n];
        if (p.Y == q.Y) continue;
        const std::int64_t top = std::min(p.Y, q.Y), bottom = std::max(p.Y, q.Y);
        if (y < top || y >= bottom) continue;
        std::int64_t den = static_cast<std::int64_t>(q.Y) - p.Y;
        Int128 num = Int128{p.X} * den + Int128{y - p.Y} * (static_cast<std::int64_t>(q.X) - p.X);
        if (den < 0) {
            den = -den;
            num = -num;
        }
        const std::int64_t fl = FloorDiv(num, den);
        xs.push_back({fl, static_cast<std::int64_t>(num - Int128{fl} * den), den});
    }
    std::sort(xs.begin(), xs.end(), [](const Crossing& a, const Crossing& b) {
        if (a.Floor != b.Floor) return a.Floor < b.Floor;
        return Int128{a.Rem} * b.Den < Int128{b.Rem} * a.Den;
    });
    for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
        const Span s{xs[k].Floor + (xs[k].Rem > 0 ? 1 : 0), xs[k + 1].Floor};
        if (!s.Empty()) out.push_back(s);
    }
}

}  // namespace qorkit::detail
