// Universal numeric constants: mathematical constants, the limits of the floating-point
// formats, their natural logarithms and a table of ln(n!).
#pragma once

#include <array>
#include <cfloat>
#include <cstdint>
#include <limits>

namespace qorkit {

// Mathematical constants, in extended precision.
inline constexpr long double uc_e = 2.718281828459045235L;             ///< e
inline constexpr long double uc_etom1 = 0.3678794411714423216L;        ///< 1/e
inline constexpr long double uc_lg2 = 0.3010299956639811952L;          ///< log10 2
inline constexpr long double uc_lg5 = 0.6989700043360188048L;          ///< log10 5
inline constexpr long double uc_lge = 0.4342944819032518276L;          ///< log10 e
inline constexpr long double uc_lgPi = 0.4971498726941338544L;         ///< log10 pi
inline constexpr long double uc_ln10 = 2.302585092994045684L;          ///< ln 10
inline constexpr long double uc_ln2 = 0.6931471805599453094L;          ///< ln 2
inline constexpr long double uc_lnPi = 1.144729885849400174L;          ///< ln pi
inline constexpr long double uc_PiH = 1.570796326794896619L;           ///< pi/2
inline constexpr long double uc_PiSqr = 9.869604401089358619L;         ///< pi squared
inline constexpr long double uc_Pitom1 = 0.3183098861837906715L;       ///< 1/pi
inline constexpr long double uc_sqrt2 = 1.414213562373095049L;         ///< square root of 2
inline constexpr long double uc_sqrt2pi = 2.506628274631000502L;       ///< square root of 2 pi
inline constexpr long double uc_sqrt2pitom1 = 0.3989422804014326779L;  ///< 1/sqrt(2 pi)
inline constexpr long double uc_GoldenR = 1.618033988749894848L;       ///< golden ratio

// Limits of the floating-point formats, as decimal values in extended precision.
inline constexpr long double uc_MinReal = 2.9e-39L;     ///< smallest legacy 48-bit real
inline constexpr long double uc_MaxReal = 1.7e38L;      ///< largest legacy 48-bit real
inline constexpr long double uc_MinSingle = 1.5e-45L;   ///< smallest positive float
inline constexpr long double uc_MaxSingle = 3.4e38L;    ///< largest float
inline constexpr long double uc_MinDouble = 5.0e-324L;  ///< smallest positive double
inline constexpr long double uc_MaxDouble = 1.7e308L;   ///< largest double
/// Largest signed 64-bit integer (an integer, not a float).
inline constexpr std::int64_t uc_MaxInt64 = 9223372036854775807LL;

#if LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384
/// Smallest positive extended value: the bits of the smallest denormal (mantissa 1,
/// exponent 0), about 3.6e-4951.
inline constexpr long double uc_MinExtended = std::numeric_limits<long double>::denorm_min();
/// Largest extended value as the decimal 1.1e4932.
inline constexpr long double uc_MaxExtended = 1.1e4932L;
#else
// Where long double is not the 80-bit format these are the limits of the type at hand.
inline constexpr long double uc_MinExtended = std::numeric_limits<long double>::denorm_min();
inline constexpr long double uc_MaxExtended = std::numeric_limits<long double>::max();
#endif

// Natural logarithms of the decimal limits above, as written (so uc_lnMinExtended is
// ln 3.6e-4951, not the logarithm of the stored denormal). Test against these before calling
// exp to avoid overflow or underflow.
inline constexpr long double uc_lnMinDouble = -744.4281322176367L;
inline constexpr long double uc_lnMaxDouble = 709.7268368932282L;
inline constexpr long double uc_lnMaxExtended = 11356.44498882644L;
inline constexpr long double uc_lnMinExtended = -11398.81786156806L;
inline constexpr long double uc_lnMaxInt64 = 43.66827237527655L;
inline constexpr long double uc_lnMinReal = -88.73610788977535L;
inline constexpr long double uc_lnMaxReal = 88.02886178483591L;
inline constexpr long double uc_lnMinSingle = -103.2108640766239L;
inline constexpr long double uc_lnMaxSingle = 88.72200896539585L;

/// ln(n!) for n = 0..1000, each to 15 significant digits; entries 0 and 1 are 0.
extern const std::array<double, 1001> uc_LnFactorial;

}  // namespace qorkit
