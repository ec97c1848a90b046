// Scans arbitrary bytes for numbers with ScanStreamFPNum and ScanStreamDecimal. The first
// byte picks the options. Every call must make progress, stay inside the data, return a
// value within +-1.7E308, and give the same values and positions on a memory stream (read
// ahead in blocks) as on a forward-only stream (read byte by byte).
#include <cmath>
#include <cstdlib>
#include <string>

#include "fuzz_stream_common.h"
#include "qorkit/rtl/memory_stream.h"
#include "qorkit/streams/number_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorkit;
    if (size == 0) return 0;
    const bool allowExp = (data[0] & 1) != 0;
    const std::int32_t dec = (data[0] >> 1) & 3;
    const bool decimal = (data[0] & 8) != 0;
    ++data;
    --size;
    TStringStream mem(std::string(reinterpret_cast<const char*>(data), size));
    fuzz::ForwardStream fwd(data, size);
    const auto total = static_cast<std::int64_t>(size);
    while (mem.Position() < total) {
        const std::int64_t before = mem.Position();
        if (decimal) {
            if (ScanStreamDecimal(mem) != ScanStreamDecimal(fwd)) std::abort();
        } else {
            const double a = ScanStreamFPNum(mem, allowExp, dec);
            const double b = ScanStreamFPNum(fwd, allowExp, dec);
            if (!(std::fabs(a) <= 1.7e308) || std::memcmp(&a, &b, sizeof a) != 0) std::abort();
        }
        const std::int64_t after = mem.Position();
        if (after <= before || after > total || after != fwd.Position()) std::abort();
    }
    return 0;
}
