#include "qorkit/streams/number_scan.h"

#include <locale.h>
#include <clocale>
#include <cstdlib>
#include <string>

#include "byte_reader.h"
#include "qorkit/core/univconst.h"

namespace qorkit {

namespace {

// The "C" locale for strtold_l, so that the process locale never changes how a number reads.
locale_t CLocale() {
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

// Exponent digits beyond this magnitude are consumed but not kept.
constexpr std::int64_t kMaxExponent = 4200;

enum CharClass : std::uint8_t { ccSeparator, ccSign, ccBlank, ccDigit, ccE, ccOther };

// Next states indexed by [state - 1][class]; 0 = fail, -1 = end, -2 = "6 if exponents are
// allowed, else end".
constexpr int kFail = 0;
constexpr int kEnd = -1;
constexpr int kExp = -2;
constexpr int kNext[8][6] = {
    // separator sign  blank  digit  E      other
    {4, 2, 1, 3, kFail, kFail},              // 1 start
    {4, kFail, kFail, 3, kFail, kFail},      // 2 after sign
    {4, kEnd, kEnd, 3, kExp, kEnd},          // 3 integer digits
    {kFail, kEnd, kEnd, 5, kExp, kEnd},      // 4 after separator
    {kFail, kEnd, kEnd, 5, kExp, kEnd},      // 5 fraction digits
    {kFail, 7, kFail, 8, kFail, kFail},      // 6 after E
    {kFail, kFail, kFail, 8, kFail, kFail},  // 7 after exponent sign
    {kEnd, kEnd, kEnd, 8, kEnd, kEnd},       // 8 exponent digits
};

}  // namespace

std::int32_t ScanStreamDecimal(TStream& Stream) {
    detail::ByteReader in(Stream);
    int c = ' ';
    while (c == ' ' || c == 10 || c == 13)
        c = in.Next();
    bool negative = false;
    if (c == '-') {
        negative = true;
        c = in.Next();
    } else if (c == '+') {
        c = in.Next();
    }
    std::uint32_t value = 0;  // wraps like 32-bit two's complement arithmetic
    while (c >= '0' && c <= '9') {
        value = value * 10u + static_cast<std::uint32_t>(c - '0');
        c = in.Next();
    }
    if (negative) value = 0u - value;
    in.GiveBack();
    return static_cast<std::int32_t>(value);
}

double ScanStreamFPNum(TStream& Stream, bool AllowExp, std::int32_t DecPChar) {
    detail::ByteReader in(Stream);
    std::string text;
    std::int64_t exponent = 0;  // magnitude of the exponent digits, saturating
    int state = 1;
    for (;;) {
        const int b = in.Next();
        char c = b < 0 ? 'Z' : static_cast<char>(b);
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        CharClass cls;
        if ((c == '.' && (DecPChar == 1 || DecPChar == 3)) ||
            (c == ',' && (DecPChar == 2 || DecPChar == 3))) {
            cls = ccSeparator;
        } else if (c == '+' || c == '-') {
            cls = ccSign;
        } else if (c == 9 || c == 10 || c == 13 || c == 32) {
            cls = ccBlank;
        } else if (c >= '0' && c <= '9') {
            cls = ccDigit;
        } else if (c == 'E') {
            cls = ccE;
        } else {
            cls = ccOther;
        }
        int next = kNext[state - 1][cls];
        if (next == kExp) next = AllowExp ? 6 : kEnd;
        if (next == kFail) {
            in.GiveBack();
            return 0.0;
        }
        if (next == kEnd) break;
        if (c == ',') c = '.';
        if (next == 8) {
            if (state != 8) exponent = 0;
            if (exponent <= kMaxExponent) exponent = exponent * 10 + (c - '0');
        }
        if (static_cast<unsigned char>(c) > 32 && (next != 8 || exponent <= kMaxExponent))
            text.push_back(c);
        state = next;
    }
    in.GiveBack();
    if (text.back() == '.') text.push_back('0');
    // strtold is correctly rounded; out-of-range results come back as infinities or zeros,
    // which the clamp below and the double conversion handle.
    long double x = strtold_l(text.c_str(), nullptr, CLocale());
    if (x > uc_MaxDouble) x = uc_MaxDouble;
    if (x < -uc_MaxDouble) x = -uc_MaxDouble;
    return static_cast<double>(x);
}

}  // namespace qorkit
