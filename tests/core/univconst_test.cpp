#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "qorkit/Qor_univconst.h"

using namespace qorkit;

TEST(UnivConst, LnFactorialMatchesLgammaToFifteenDigits) {
    EXPECT_EQ(uc_LnFactorial[0], 0.0);
    EXPECT_EQ(uc_LnFactorial[1], 0.0);
    EXPECT_EQ(uc_LnFactorial[2], 0.693147180559945);
    EXPECT_EQ(uc_LnFactorial[1000], 5912.12817848816);
    // Independent check: every entry agrees with lgamma(n + 1) to the 15 digits it keeps.
    for (int n = 2; n <= 1000; ++n) {
        const long double exact = std::lgamma(static_cast<long double>(n) + 1.0L);
        const long double rel = std::fabs((uc_LnFactorial[n] - exact) / exact);
        EXPECT_LT(rel, 6e-15L) << "n = " << n;
    }
}

TEST(UnivConst, StoredValuesKeepTheirPrecisionAndBits) {
    EXPECT_EQ(uc_MaxInt64, 9223372036854775807LL);
    static_assert(std::is_same_v<decltype(uc_MaxInt64), const std::int64_t>);
    // The extended constants are more precise than any double.
    EXPECT_NE(uc_e, static_cast<long double>(static_cast<double>(uc_e)));
    EXPECT_NEAR(static_cast<double>(uc_e), std::exp(1.0), 1e-15);
    EXPECT_NEAR(static_cast<double>(uc_ln10), std::log(10.0), 1e-15);
    EXPECT_NEAR(static_cast<double>(uc_GoldenR), (1.0 + std::sqrt(5.0)) / 2.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(uc_lnMaxDouble), std::log(1.7e308), 1e-12);
    EXPECT_NEAR(static_cast<double>(uc_lnMinSingle), std::log(1.5e-45), 1e-12);
#if LDBL_MANT_DIG == 64
    // The smallest extended denormal: mantissa 1, exponent 0.
    unsigned char bits[sizeof(long double)] = {};
    std::memcpy(bits, &uc_MinExtended, 10);
    EXPECT_EQ(bits[0], 1);
    for (int i = 1; i < 10; ++i)
        EXPECT_EQ(bits[i], 0) << "byte " << i;
    EXPECT_GT(uc_MaxExtended, static_cast<long double>(1.0e4932L));
    EXPECT_NEAR(static_cast<double>(std::log(uc_MaxExtended)),
                static_cast<double>(uc_lnMaxExtended), 1e-9);
#endif
}
