// Colour mixing and conversions between the packed TColor value and the RGB, HSL, HSV, HSI,
// CMY, CMYK and grey models; wavelength colours, random colours and hexadecimal text.
//
// A TColor holds red in bits 0..7, green in 8..15 and blue in 16..23. Every function reads the
// three channels by masking and ignores bits 24..31 (a system-colour reference is not
// resolved); every TColor result is red + 256 * green + 65536 * blue, so its top byte is 0.
// Hue is in degrees (0 up to 360); saturation, lightness, value, intensity and the CMY(K)
// components are in 0..1. Rounding to an integer sends halves to the even neighbour (the
// default floating-point rounding mode, which the library never changes); intermediate values
// are computed in extended precision and results stored as double.
// No function raises; out-of-range inputs are clamped as each one states, and NaN inputs count
// as 0.
#pragma once

#include <cstdint>

#include "qorkit/rtl/graphics_types.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// The red channel (bits 0..7) of `C`.
constexpr std::int32_t RedOf(TColor C) noexcept {
    return C & 0xFF;
}
/// The green channel (bits 8..15) of `C`.
constexpr std::int32_t GreenOf(TColor C) noexcept {
    return (C >> 8) & 0xFF;
}
/// The blue channel (bits 16..23) of `C`.
constexpr std::int32_t BlueOf(TColor C) noexcept {
    return (C >> 16) & 0xFF;
}
/// Packs the low bytes of `R`, `G`, `B` into a TColor with a zero top byte.
constexpr TColor PackRGB(std::int32_t R, std::int32_t G, std::int32_t B) noexcept {
    return (R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16);
}

// ---- mixing ---------------------------------------------------------------------------------

/// Each channel is trunc(a + (b - a) * f) with `f` clamped to 0..1: f = 0 gives `A`, f = 1
/// gives `B`.
TColor InterpolateColor(TColor A, TColor B, double f);
/// From `A` to `B` for f up to 0.5 (fraction 2f), from `B` to `C` above (fraction 2f - 1);
/// `f` is clamped to 0..1, and 0.5 gives exactly `B`.
TColor Interpolate3Colors(TColor A, TColor B, TColor C, double f);
/// `InterpolateColor(A, B, 0.5)`: each channel the truncated mean (128 and 255 give 191).
TColor MeanColor(TColor A, TColor B);
/// Swaps red and blue, keeps green.
TColor ReverseRGBColor(TColor C);
/// Replaces each channel c by 255 - c.
TColor InvertColor(TColor C);

// ---- hexadecimal text -----------------------------------------------------------------------

/// The whole 32-bit value as exactly 8 upper-case hexadecimal digits, no prefix: red gives
/// "000000FF", white "00FFFFFF".
String ColorToHexStr(TColor C);
/// Reads hexadecimal text: blanks (U+0020 only) trimmed at both ends, one leading "$" skipped,
/// then digits 0-9, A-F, a-f accumulated in 32 bits up to the first other character, which
/// ends the number without error ("1F" gives 31, "1G" 1, "G1" 0, "" 0).
TColor HexStrToColor(const String& S);

// ---- hue models -----------------------------------------------------------------------------

/// RGB (each clamped to 0..255 as a fraction) to hue, saturation, lightness. A grey gives
/// H = 0 and S = 0; H is in 0..360.
void RGBtoHSL(std::int32_t R, std::int32_t G, std::int32_t B, double& H, double& S, double& L);
/// RGB to hue, saturation, value on the unclamped channels. Black gives H = 0, S = 0; another
/// grey gives S = 0 and H = -1 (hue undefined). Ties for the maximum go to red, then green.
void RGBtoHSV(std::int32_t R, std::int32_t G, std::int32_t B, double& H, double& S, double& V);
/// RGB to hue, saturation, intensity (I = mean channel / 255). Black gives H = 0, S = 0;
/// another grey gives exactly S = 0 and H = -1.
void RGBtoHSI(std::int32_t R, std::int32_t G, std::int32_t B, double& H, double& S, double& I);
/// `RGBtoHSL` of the channels of `C`.
void ColorToHSL(TColor C, double& H, double& S, double& L);
/// `RGBtoHSV` of the channels of `C`.
void ColorToHSV(TColor C, double& H, double& S, double& V);
/// `RGBtoHSI` of the channels of `C`.
void ColorToHSI(TColor C, double& H, double& S, double& I);

/// HSL to RGB in 0..255. `H` below 0 gets 360 added once, above 360 360 subtracted once; a hue
/// still outside 0..360 after that (below -360 or above 720) is reduced modulo 360. S and L
/// are clamped to 0..1. A hue of 360 is red.
void HSLtoRGB(double H, double S, double L, std::int32_t& R, std::int32_t& G, std::int32_t& B);
/// HSV to RGB in 0..255. S and V are clamped to 0..1; a hue below 0 or at or above 360 is
/// replaced by 0 (no wrapping), so 360 is red.
void HSVtoRGB(double H, double S, double V, std::int32_t& R, std::int32_t& G, std::int32_t& B);
/// HSI to RGB in 0..255; the hue is wrapped as by `HSLtoRGB`, S and I are clamped to 0..1 and
/// each channel fraction is capped at 1.
void HSItoRGB(double H, double S, double I, std::int32_t& R, std::int32_t& G, std::int32_t& B);
/// `HSLtoRGB` packed into a TColor.
TColor HSLtoColor(double H, double S, double L);
/// `HSVtoRGB` packed into a TColor.
TColor HSVtoColor(double H, double S, double V);
/// `HSItoRGB` packed into a TColor.
TColor HSItoColor(double H, double S, double I);

// ---- CMY, CMYK, grey, distance --------------------------------------------------------------

/// C = 1 - R/255, M = 1 - G/255, Y = 1 - B/255.
void RGBtoCMY(std::uint8_t R, std::uint8_t G, std::uint8_t B, double& C, double& M, double& Y);
/// C, M, Y clamped to 0..1; R = rnd((1 - C) * 255), G from M, B from Y.
void CMYtoRGB(double C, double M, double Y, std::uint8_t& R, std::uint8_t& G, std::uint8_t& B);
/// Clamps C, M, Y to 0..1, takes K as the smallest of them and subtracts K from each.
void CMYtoCMYK(double& C, double& M, double& Y, double& K);
/// Adds K to each of C, M, Y and clamps each to 0..1.
void CMYKtoCMY(double& C, double& M, double& Y, double K);
/// rnd(0.30 R + 0.59 G + 0.11 B), saturated to the 32-bit range.
std::int32_t RGBtoGray(std::int32_t R, std::int32_t G, std::int32_t B);
/// The grey of `RGBtoGray` (its low byte) in all three channels.
TColor RGBtoGrayColor(std::int32_t R, std::int32_t G, std::int32_t B);
/// `RGBtoGray` of the channels of `C`.
std::int32_t ColorToGray(TColor C);
/// `RGBtoGrayColor` of the channels of `C`.
TColor ColorToGrayColor(TColor C);
/// sqrt((dr^2 + dg^2 + db^2) / (3 * 255^2)): 0 for equal colours, 1 for black and white.
double RGBColorDistance(TColor A, TColor B);

// ---- wavelength and random colours ----------------------------------------------------------

/// The colour of light of `Wavelength` nanometres (380..779 visible, black elsewhere), with
/// the intensity falling off at both ends and each channel raised to `Gamma`. Each channel
/// is limited to 0..255, so a negative gamma cannot spill into its neighbour.
TColor WavelengthToColor(std::int32_t Wavelength, double Gamma);
/// Three draws of `Random(256)` from the shared generator: blue first, then green, then red.
TColor RandomColor();
/// Each channel low + `Random(high - low + 1)`, wrapped to 8 bits, drawn blue first, then
/// green, then red. A high bound below its low bound gives the low bound (the generator's
/// rule for an empty range is to return 0).
TColor RandomColor(std::uint8_t RedLow, std::uint8_t RedHigh, std::uint8_t GreenLow,
                   std::uint8_t GreenHigh, std::uint8_t BlueLow, std::uint8_t BlueHigh);

}  // namespace qorkit
