// Fuzz target: ASCII85 decoding of arbitrary text, and encode-decode round trips of the input.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "qorkit/Qor_dstruct.h"
#include "qorkit/rtl/memory_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorkit;
    {
        TMemoryStream in, out;
        in.WriteBuffer(data, static_cast<std::int64_t>(size));
        in.SetPosition(0);
        const std::int32_t r = DecodeASCII85(in, out);
        if (r != 0 && r != -1 && r != -2) std::abort();
        // At most four bytes per input character ("z").
        if (out.Size() > static_cast<std::int64_t>(4 * size)) std::abort();
    }
    for (bool lines : {false, true}) {
        TMemoryStream in, coded, back;
        in.WriteBuffer(data, static_cast<std::int64_t>(size));
        in.SetPosition(0);
        EncodeASCII85(in, coded, lines);
        coded.SetPosition(0);
        if (DecodeASCII85(coded, back) != 0) std::abort();
        if (back.Size() != static_cast<std::int64_t>(size)) std::abort();
        if (size > 0 && std::memcmp(back.Memory(), data, size) != 0) std::abort();
    }
    return 0;
}
