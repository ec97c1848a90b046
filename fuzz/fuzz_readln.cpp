// Reads arbitrary bytes line by line with ReadLnStream in every line-end mode. Each line
// consumes at least one byte unless the stream has ended, drops at most two bytes (only when
// it ended by the rule), and memory and forward-only streams agree on lines and positions.
#include <cstdlib>
#include <string>

#include "fuzz_stream_common.h"
#include "qorkit/rtl/memory_stream.h"
#include "qorkit/streams/stream_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorkit;
    const auto total = static_cast<std::int64_t>(size);
    for (std::int32_t mode = 0; mode <= 5; ++mode) {
        TStringStream mem(std::string(reinterpret_cast<const char*>(data), size));
        fuzz::ForwardStream fwd(data, size);
        for (;;) {
            const std::int64_t before = mem.Position();
            bool eosA = false;
            bool eosB = false;
            const String a = ReadLnStream(mem, eosA, mode);
            const String b = ReadLnStream(fwd, eosB, mode);
            const std::int64_t used = mem.Position() - before;
            if (a != b || eosA != eosB || mem.Position() != fwd.Position()) std::abort();
            if (mem.Position() > total) std::abort();
            if (eosA) {
                if (used != static_cast<std::int64_t>(a.size()) || mem.Position() != total)
                    std::abort();
                break;
            }
            const std::int64_t dropped = used - static_cast<std::int64_t>(a.size());
            if (used < 1 || dropped < 0 || dropped > 2) std::abort();
        }
        mem.SetPosition(0);
        if (CountLinesInStream(mem) < 0) std::abort();
    }
    return 0;
}
