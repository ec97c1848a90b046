// Fuzz target: Base64 decoding of arbitrary text (the processor's vector path against the
// scalar one: same result, same bytes), and encode-decode round trips of the input.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "../src/dstruct/checksum_cpu.h"
#include "qorkit/Qor_dstruct.h"
#include "qorkit/rtl/memory_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorkit;
    static const detail::Base64Path fastest = detail::ActiveBase64Path();
    const auto decode = [&](detail::Base64Path path, TMemoryStream& out) {
        detail::ForcePath(path);
        TMemoryStream in;
        in.WriteBuffer(data, static_cast<std::int64_t>(size));
        in.SetPosition(0);
        return DecodeBase64(in, out);
    };
    {
        TMemoryStream scalar, fast;
        const std::int32_t r = decode(detail::Base64Path::Scalar, scalar);
        if (r != 0 && r != -1) std::abort();
        // Every group of four characters yields at most three bytes.
        if (scalar.Size() > static_cast<std::int64_t>(size / 4 * 3 + 3)) std::abort();
        if (decode(fastest, fast) != r || fast.Size() != scalar.Size()) std::abort();
        if (scalar.Size() > 0 &&
            std::memcmp(fast.Memory(), scalar.Memory(), static_cast<std::size_t>(scalar.Size())))
            std::abort();
    }
    for (bool lines : {false, true}) {
        TMemoryStream in, coded, back;
        in.WriteBuffer(data, static_cast<std::int64_t>(size));
        in.SetPosition(0);
        EncodeBase64(in, coded, lines);
        coded.SetPosition(0);
        if (DecodeBase64(coded, back) != 0) std::abort();
        if (back.Size() != static_cast<std::int64_t>(size)) std::abort();
        if (size > 0 && std::memcmp(back.Memory(), data, size) != 0) std::abort();
    }
    return 0;
}
