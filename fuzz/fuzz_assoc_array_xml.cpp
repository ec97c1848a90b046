// Reads arbitrary bytes as an associative-array XML stream. A read that fails must leave the
// array exactly as it was; one that succeeds must survive a write and a second read unchanged.
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "qorkit/dstruct/assoc_array.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/memory_stream.h"

namespace {

using namespace qorkit;

void Check(bool ok) {
    if (!ok) std::abort();
}

bool SameValue(const Variant& x, const Variant& y) {
    if (VarType(x) != VarType(y)) return false;
    if (VarType(x) == varNull) return true;
    if (VarType(x) == varDouble || VarType(x) == varDate) {
        const double a = x.AsDouble();
        const double b = y.AsDouble();
        return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) ||
               (a != a && b != b);  // NaN payloads are not kept
    }
    return x.AsString() == y.AsString();
}

bool Same(const TAssocArray& a, const TAssocArray& b) {
    if (a.NumEntries() != b.NumEntries() || a.IgnoreCase() != b.IgnoreCase() ||
        a.DataID() != b.DataID())
        return false;
    for (std::int32_t i = 1; i <= a.NumEntries(); ++i)
        if (a.Keys(i) != b.Keys(i) || !SameValue(a.Values(i), b.Values(i))) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // Inputs without an element of their own are taken as the body of one, so that short
    // inputs reach the line parser.
    if (bytes.find("assocarray") == std::string::npos)
        bytes = "<assocarray sig=QORLIBSIG id=x>\r\n" + bytes + "\r\n</assocarray>\r\n";
    TMemoryStream in;
    in.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    in.SetPosition(0);

    TAssocArray a;
    a.Add(u"keep", 1);
    a.Add(u"Two", u"2");
    TAssocArray before;
    before.Assign(&a);
    bool ok = false;
    try {
        ok = a.ReadFromXMLStream(in, u"");
    } catch (const Exception&) {
        std::abort();  // a memory stream: no error is expected
    }
    if (!ok) {
        Check(Same(a, before));
        return 0;
    }
    for (std::int32_t i = 1; i <= a.NumEntries(); ++i)
        a.Resolve(a.Keys(i));  // the index must know every key
    TMemoryStream out;
    a.WriteToXMLStream(out, true, a.DataID());
    out.SetPosition(0);
    TAssocArray back;
    Check(back.ReadFromXMLStream(out, a.DataID()));
    Check(Same(a, back));
    return 0;
}
