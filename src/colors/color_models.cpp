#include "qorkit/colors/color_models.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "color_detail.h"
#include "qorkit/rtl/random.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

using detail::Clamp01;
using detail::Frac;
using detail::RoundHalfEven;
using detail::TruncToInt;

namespace {

using Ext = long double;

// One channel of a linear mix; the fraction is already clamped.
std::int32_t MixChannel(std::int32_t a, std::int32_t b, Ext f) {
    return TruncToInt(a + (b - a) * f);
}

// The maximum channel with the tie-break of the hue models: red, then green only if red is
// smaller, then blue only if the current maximum is smaller.
enum TMaxChannel { mcRed, mcGreen, mcBlue };

struct TMaxMin {
    TMaxChannel Which;
    std::int64_t Max;
    std::int64_t Min;
};

TMaxMin MaxMinOf(std::int64_t R, std::int64_t G, std::int64_t B) {
    TMaxMin m{mcRed, R, R};
    if (m.Max < G) m = {mcGreen, G, m.Min};
    if (m.Max < B) m = {mcBlue, B, m.Min};
    m.Min = std::min({R, G, B});
    return m;
}

// The hue in degrees of a colour with Delta != 0, from the channel that is the maximum.
Ext HueFromMax(const TMaxMin& m, std::int64_t R, std::int64_t G, std::int64_t B) {
    const Ext delta = static_cast<Ext>(m.Max - m.Min);
    Ext h = 0;
    switch (m.Which) {
        case mcRed:
            h = (G - B) / delta;
            break;
        case mcGreen:
            h = (B - R) / delta + 2;
            break;
        case mcBlue:
            h = (R - G) / delta + 4;
            break;
    }
    h *= 60;
    return h < 0 ? h + 360 : h;
}

// The hue wrapped once into 0..360 as HSL and HSI do; a hue still outside (only possible below
// -360 or above 720) is reduced modulo 360, and NaN counts as 0.
Ext WrapHueOnce(Ext h) {
    if (!(h == h)) return 0;
    if (h < 0) h += 360;
    if (h > 360) h -= 360;
    if (h < 0 || h > 360) {
        h = std::fmod(h, 360.0L);
        if (h < 0) h += 360;
    }
    return h;
}

// (r, g, b) of the six hue sectors from the largest component C and the middle one X; sector 6
// (a hue of exactly 360) is sector 0.
void SectorRGB(std::int32_t k, Ext c, Ext x, Ext& r, Ext& g, Ext& b) {
    // Per sector, which of (C, X, 0) each channel takes.
    static constexpr std::uint8_t kPick[6][3] = {{0, 1, 2}, {1, 0, 2}, {2, 0, 1},
                                                 {2, 1, 0}, {1, 2, 0}, {0, 2, 1}};
    const Ext v[3] = {c, x, 0};
    const std::uint8_t* pick = kPick[(k >= 1 && k <= 5) ? k : 0];
    r = v[pick[0]], g = v[pick[1]], b = v[pick[2]];
}

std::int32_t Channel255(Ext fraction) {
    return RoundHalfEven(255 * fraction);
}

}  // namespace

TColor InterpolateColor(TColor A, TColor B, double f) {
    const Ext t = Clamp01(f);
    return PackRGB(MixChannel(RedOf(A), RedOf(B), t), MixChannel(GreenOf(A), GreenOf(B), t),
                   MixChannel(BlueOf(A), BlueOf(B), t));
}

TColor Interpolate3Colors(TColor A, TColor B, TColor C, double f) {
    const Ext t = Clamp01(f);
    if (t > 0.5L) return InterpolateColor(B, C, static_cast<double>((t - 0.5L) * 2));
    return InterpolateColor(A, B, static_cast<double>(t * 2));
}

TColor MeanColor(TColor A, TColor B) {
    return InterpolateColor(A, B, 0.5);
}

TColor ReverseRGBColor(TColor C) {
    return PackRGB(BlueOf(C), GreenOf(C), RedOf(C));
}

TColor InvertColor(TColor C) {
    return PackRGB(255 - RedOf(C), 255 - GreenOf(C), 255 - BlueOf(C));
}

String ColorToHexStr(TColor C) {
    return IntToHex(C, 8);
}

namespace detail {

std::uint32_t AccumulateHex(std::u16string_view s, std::size_t pos) {
    std::uint32_t v = 0;
    for (; pos < s.size(); ++pos) {
        const Char c = s[pos];
        std::uint32_t d = 0;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else if (c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else
            break;
        v = v * 16 + d;
    }
    return v;
}

}  // namespace detail

TColor HexStrToColor(const String& S) {
    std::u16string_view s = S;
    while (!s.empty() && s.front() == u' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == u' ')
        s.remove_suffix(1);
    if (!s.empty() && s.front() == u'$') s.remove_prefix(1);
    return static_cast<TColor>(detail::AccumulateHex(s, 0));
}

void RGBtoHSL(std::int32_t R, std::int32_t G, std::int32_t B, double& H, double& S, double& L) {
    const Ext r = Clamp01(R / 255.0L), g = Clamp01(G / 255.0L), b = Clamp01(B / 255.0L);
    const Ext mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const Ext delta = mx - mn;
    Ext h = 0;
    if (delta != 0) {
        if (mx == r)
            h = 6 * Frac(((g - b) / delta) / 6);
        else if (mx == g)
            h = (b - r) / delta + 2;
        else
            h = (r - g) / delta + 4;
    }
    h *= 60;
    if (h < 0) h += 360;
    const Ext l = (mx + mn) / 2;
    H = static_cast<double>(h);
    L = static_cast<double>(l);
    S = delta != 0 ? static_cast<double>(delta / (1 - std::fabs(2 * l - 1))) : 0.0;
}

void RGBtoHSV(std::int32_t R, std::int32_t G, std::int32_t B, double& H, double& S, double& V) {
    const TMaxMin m = MaxMinOf(R, G, B);
    V = static_cast<double>(m.Max / 255.0L);
    if (m.Max == 0) {
        S = 0;
        H = 0;
        return;
    }
    S = static_cast<double>(static_cast<Ext>(m.Max - m.Min) / m.Max);
    H = S == 0 ? -1.0 : static_cast<double>(HueFromMax(m, R, G, B));
}

void RGBtoHSI(std::int32_t R, std::int32_t G, std::int32_t B, double& H, double& S, double& I) {
    const TMaxMin m = MaxMinOf(R, G, B);
    const std::int64_t sum = std::int64_t{R} + G + B;
    I = static_cast<double>((sum / 3.0L) / 255);
    if (m.Max == 0) {
        S = 0;
        H = 0;
        return;
    }
    // A grey has no saturation and no hue. Computed from the rounded intensity, 1 - min / I
    // is not exactly 0 for most greys, and the hue would then divide by a zero spread.
    if (m.Max == m.Min) {
        S = 0;
        H = -1;
        return;
    }
    S = static_cast<double>(1 - (m.Min / 255.0L) / I);
    H = S == 0 ? -1.0 : static_cast<double>(HueFromMax(m, R, G, B));
}

void ColorToHSL(TColor C, double& H, double& S, double& L) {
    RGBtoHSL(RedOf(C), GreenOf(C), BlueOf(C), H, S, L);
}
void ColorToHSV(TColor C, double& H, double& S, double& V) {
    RGBtoHSV(RedOf(C), GreenOf(C), BlueOf(C), H, S, V);
}
void ColorToHSI(TColor C, double& H, double& S, double& I) {
    RGBtoHSI(RedOf(C), GreenOf(C), BlueOf(C), H, S, I);
}

void HSLtoRGB(double H, double S, double L, std::int32_t& R, std::int32_t& G, std::int32_t& B) {
    const Ext h = WrapHueOnce(H), s = Clamp01(S), l = Clamp01(L);
    const Ext c = (1 - std::fabs(2 * l - 1)) * s;
    const std::int32_t k = TruncToInt(h / 60);
    const Ext x = (1 - std::fabs(2 * Frac((h / 60) / 2) - 1)) * c;
    Ext r, g, b;
    SectorRGB(k, c, x, r, g, b);
    const Ext m = l - c / 2;
    R = Channel255(r + m);
    G = Channel255(g + m);
    B = Channel255(b + m);
}

void HSVtoRGB(double H, double S, double V, std::int32_t& R, std::int32_t& G, std::int32_t& B) {
    const Ext s = Clamp01(S), v = Clamp01(V);
    const Ext hue = (H < 0 || H >= 360 || !(H == H)) ? 0.0L : static_cast<Ext>(H);
    if (s == 0) {
        R = G = B = Channel255(v);
        return;
    }
    const Ext h = hue / 60;
    const std::int32_t k = TruncToInt(h);
    const Ext f = h - k;
    const Ext p = (1 - s) * v, q = (1 - s * f) * v, t = (1 - (1 - f) * s) * v;
    // Per sector, which of (V, t, p, q) each channel takes.
    static constexpr std::uint8_t kPick[6][3] = {{0, 1, 2}, {3, 0, 2}, {2, 0, 1},
                                                 {2, 3, 0}, {1, 2, 0}, {0, 2, 3}};
    const Ext vals[4] = {v, t, p, q};
    const std::uint8_t* pick = kPick[(k >= 1 && k <= 5) ? k : 0];
    const Ext r = vals[pick[0]], g = vals[pick[1]], b = vals[pick[2]];
    R = Channel255(r);
    G = Channel255(g);
    B = Channel255(b);
}

void HSItoRGB(double H, double S, double I, std::int32_t& R, std::int32_t& G, std::int32_t& B) {
    const Ext h = WrapHueOnce(H), s = Clamp01(S), i = Clamp01(I);
    const std::int32_t k = TruncToInt(h / 60);
    const Ext z = 1 - std::fabs(2 * Frac((h / 60) / 2) - 1);
    const Ext c = 3 * i * s / (1 + z);
    const Ext x = c * z;
    Ext r, g, b;
    SectorRGB(k, c, x, r, g, b);
    const Ext m = (1 - s) * i;
    R = Channel255(std::min(r + m, 1.0L));
    G = Channel255(std::min(g + m, 1.0L));
    B = Channel255(std::min(b + m, 1.0L));
}

namespace {

TColor Packed(void (*ToRGB)(double, double, double, std::int32_t&, std::int32_t&, std::int32_t&),
              double a, double b, double c) {
    std::int32_t r, g, bl;
    ToRGB(a, b, c, r, g, bl);
    return PackRGB(r, g, bl);
}

}  // namespace

TColor HSLtoColor(double H, double S, double L) {
    return Packed(HSLtoRGB, H, S, L);
}
TColor HSVtoColor(double H, double S, double V) {
    return Packed(HSVtoRGB, H, S, V);
}
TColor HSItoColor(double H, double S, double I) {
    return Packed(HSItoRGB, H, S, I);
}

void RGBtoCMY(std::uint8_t R, std::uint8_t G, std::uint8_t B, double& C, double& M, double& Y) {
    C = static_cast<double>(1 - R / 255.0L);
    M = static_cast<double>(1 - G / 255.0L);
    Y = static_cast<double>(1 - B / 255.0L);
}

void CMYtoRGB(double C, double M, double Y, std::uint8_t& R, std::uint8_t& G, std::uint8_t& B) {
    R = static_cast<std::uint8_t>(RoundHalfEven((1 - Clamp01(C)) * 255));
    G = static_cast<std::uint8_t>(RoundHalfEven((1 - Clamp01(M)) * 255));
    B = static_cast<std::uint8_t>(RoundHalfEven((1 - Clamp01(Y)) * 255));
}

void CMYtoCMYK(double& C, double& M, double& Y, double& K) {
    C = static_cast<double>(Clamp01(C));
    M = static_cast<double>(Clamp01(M));
    Y = static_cast<double>(Clamp01(Y));
    K = C;
    if (M < K) K = M;
    if (Y < K) K = Y;
    C -= K;
    M -= K;
    Y -= K;
}

void CMYKtoCMY(double& C, double& M, double& Y, double K) {
    C = static_cast<double>(Clamp01(static_cast<Ext>(C) + K));
    M = static_cast<double>(Clamp01(static_cast<Ext>(M) + K));
    Y = static_cast<double>(Clamp01(static_cast<Ext>(Y) + K));
}

std::int32_t RGBtoGray(std::int32_t R, std::int32_t G, std::int32_t B) {
    return RoundHalfEven(0.30L * R + 0.59L * G + 0.11L * B);
}

TColor RGBtoGrayColor(std::int32_t R, std::int32_t G, std::int32_t B) {
    const std::int32_t grey = RGBtoGray(R, G, B);
    return PackRGB(grey, grey, grey);
}

std::int32_t ColorToGray(TColor C) {
    return RGBtoGray(RedOf(C), GreenOf(C), BlueOf(C));
}

TColor ColorToGrayColor(TColor C) {
    return RGBtoGrayColor(RedOf(C), GreenOf(C), BlueOf(C));
}

double RGBColorDistance(TColor A, TColor B) {
    const Ext dr = RedOf(A) - RedOf(B), dg = GreenOf(A) - GreenOf(B), db = BlueOf(A) - BlueOf(B);
    return static_cast<double>(std::sqrt((dr * dr + dg * dg + db * db) / 195075));
}

TColor WavelengthToColor(std::int32_t Wavelength, double Gamma) {
    const Ext w = Wavelength;
    Ext r = 0, g = 0, b = 0;
    if (Wavelength >= 380 && Wavelength <= 439) {
        r = (440 - w) / 60;
        b = 1;
    } else if (Wavelength >= 440 && Wavelength <= 489) {
        g = (w - 440) / 50;
        b = 1;
    } else if (Wavelength >= 490 && Wavelength <= 509) {
        g = 1;
        b = (510 - w) / 20;
    } else if (Wavelength >= 510 && Wavelength <= 579) {
        r = (w - 510) / 70;
        g = 1;
    } else if (Wavelength >= 580 && Wavelength <= 644) {
        r = 1;
        g = (645 - w) / 65;
    } else if (Wavelength >= 645 && Wavelength <= 779) {
        r = 1;
    }
    Ext factor = 1;
    if (Wavelength < 420)
        factor = 0.3L + 0.7L * (w - 380) / 40;
    else if (Wavelength > 700)
        factor = 0.3L + 0.7L * (780 - w) / 80;
    if (factor < 0) factor = 0;
    const auto channel = [&](Ext weight) -> std::int32_t {
        if (factor == 0 || weight == 0) return 0;
        const std::int32_t c = RoundHalfEven(255 * std::exp(Gamma * std::log(factor * weight)));
        return c < 0 ? 0 : (c > 255 ? 255 : c);
    };
    return PackRGB(channel(r), channel(g), channel(b));
}

TColor RandomColor() {
    const std::int32_t b = Random(256);
    const std::int32_t g = Random(256);
    const std::int32_t r = Random(256);
    return PackRGB(r, g, b);
}

TColor RandomColor(std::uint8_t RedLow, std::uint8_t RedHigh, std::uint8_t GreenLow,
                   std::uint8_t GreenHigh, std::uint8_t BlueLow, std::uint8_t BlueHigh) {
    const std::int32_t b = BlueLow + Random(BlueHigh - BlueLow + 1);
    const std::int32_t g = GreenLow + Random(GreenHigh - GreenLow + 1);
    const std::int32_t r = RedLow + Random(RedHigh - RedLow + 1);
    return PackRGB(r, g, b);
}

}  // namespace qorkit
