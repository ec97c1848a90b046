// The identification functions: the checked query, vendor and brand texts, signature fields,
// feature words, processor count, serial number and the division-flaw test.
#include "qorkit/cpuid/cpuid.h"

#include <unistd.h>

#include "cpuid_backend.h"
#include "qorkit/core/errors.h"

namespace qorkit {

namespace {

constexpr char16_t kMsgNoCpuId[] = u"Cannot acquire CPU information (CPUID not supported)";
constexpr char16_t kMsgLevel[] = u"CPUID: execution level not supported";

// The query, or nothing when the leaf is beyond the highest one; raises without the
// instruction.
bool QueryIfPresent(std::uint32_t Leaf, TCPUIDResult& Out) {
    switch (detail::TryCpuId(detail::CurrentCpuId(), Leaf, 0, Out)) {
        case detail::CpuIdStatus::Done:
            return true;
        case detail::CpuIdStatus::LeafBeyondHighest:
            return false;
        case detail::CpuIdStatus::NoInstruction:
            break;
    }
    throw EQORCpuIdError(kMsgNoCpuId);
}

std::uint32_t WordOrZero(std::uint32_t Leaf, std::uint32_t TCPUIDResult::*Register) {
    TCPUIDResult r;
    return QueryIfPresent(Leaf, r) ? r.*Register : 0;
}

// The four bytes of a register, lowest first, each as a character code.
void AppendRegister(String& S, std::uint32_t Reg) {
    for (int i = 0; i < 4; ++i)
        S.push_back(static_cast<Char>(Reg >> (8 * i) & 0xFFu));
}

void AppendHex(String& S, std::uint32_t V) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    for (int shift = 28; shift >= 0; shift -= 4)
        S.push_back(kHex[V >> shift & 0xFu]);
}

std::int32_t SignatureBits(int Low, int Count) {
    return static_cast<std::int32_t>(CPU_Signature() >> Low & ((1u << Count) - 1));
}

}  // namespace

bool CPU_IDSupport() noexcept {
    const detail::CpuIdBackend b = detail::CurrentCpuId();
    return b.Present != nullptr && b.Execute != nullptr && b.Present();
}

TCPUIDResult CPU_Query(std::uint32_t Leaf) {
    TCPUIDResult r;
    if (!QueryIfPresent(Leaf, r)) throw EQORCpuIdError(kMsgLevel);
    return r;
}

std::int32_t CPU_Count() noexcept {
    const long n = ::sysconf(_SC_NPROCESSORS_ONLN);
    return n < 1 ? 1 : n > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(n);
}

String CPU_VendorString() {
    const TCPUIDResult r = CPU_Query(0);
    String s;
    AppendRegister(s, r.EBX);
    AppendRegister(s, r.EDX);
    AppendRegister(s, r.ECX);
    // A zero byte ends the text, so that a short vendor text is recognised as such.
    s.resize(s.find(u'\0') == String::npos ? s.size() : s.find(u'\0'));
    return s.size() < 12 ? String(u"Unknown") : s;
}

String CPU_MarketName() {
    String s;
    for (std::uint32_t leaf = 0x80000002u; leaf <= 0x80000004u; ++leaf) {
        const TCPUIDResult r = CPU_Query(leaf);
        AppendRegister(s, r.EAX);
        AppendRegister(s, r.EBX);
        AppendRegister(s, r.ECX);
        AppendRegister(s, r.EDX);
    }
    std::size_t first = 0, last = s.size();
    while (first < last && s[first] <= 32)
        ++first;
    while (last > first && s[last - 1] <= 32)
        --last;
    s = s.substr(first, last - first);
    for (Char c : s)
        if (c < 32) return u"unknown";
    return s;
}

std::uint32_t CPU_Signature() {
    return WordOrZero(1, &TCPUIDResult::EAX);
}

std::uint32_t CPU_FeatureSet() {
    return WordOrZero(1, &TCPUIDResult::EDX);
}

std::uint32_t CPU_ExtendedFeatureSet() {
    return WordOrZero(0x80000001u, &TCPUIDResult::EDX);
}

std::int32_t CPU_BrandID() {
    return static_cast<std::int32_t>(WordOrZero(1, &TCPUIDResult::EBX) & 0xFFu);
}

std::int32_t CPU_Type() {
    return SignatureBits(12, 2);
}

bool CPU_OverDrive() {
    return CPU_Type() == 1;
}

std::int32_t CPU_Family() {
    return SignatureBits(8, 4);
}

std::int32_t CPU_ExFamily() {
    return SignatureBits(20, 8);
}

std::int32_t CPU_Model() {
    return SignatureBits(4, 4);
}

std::int32_t CPU_ExModel() {
    return SignatureBits(16, 4);
}

std::int32_t CPU_Stepping() {
    return SignatureBits(0, 4);
}

std::int32_t CPUSignatureFamily(std::uint32_t Signature) noexcept {
    const auto base = static_cast<std::int32_t>(Signature >> 8 & 0xFu);
    return base == 15 ? base + static_cast<std::int32_t>(Signature >> 20 & 0xFFu) : base;
}

std::int32_t CPUSignatureModel(std::uint32_t Signature) noexcept {
    const auto base = static_cast<std::int32_t>(Signature >> 8 & 0xFu);
    const auto model = static_cast<std::int32_t>(Signature >> 4 & 0xFu);
    return base == 6 || base == 15 ? model | static_cast<std::int32_t>(Signature >> 16 & 0xFu) << 4
                                   : model;
}

String CPU_SerialNumber() {
    String s;
    AppendHex(s, CPU_Query(1).EAX);
    const TCPUIDResult again = CPU_Query(1);
    AppendHex(s, again.EDX);
    AppendHex(s, again.ECX);
    return s;
}

bool CPU_FDIVBugPresent() noexcept {
    // Volatile operands keep the compiler from folding the expression at build time: the
    // processor's own divider is what is tested. The quotient stays a long double; rounded to
    // a double first, the product would miss b by one rounding and report a flaw on every
    // sound processor.
    volatile long double a = 3145727.0L;
    volatile long double b = 4195835.0L;
    const long double q = b / a;
    const long double residue = a * q - b;
    return residue != 0.0L;
}

}  // namespace qorkit
