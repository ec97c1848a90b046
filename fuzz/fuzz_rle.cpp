// Fuzz target: run-length decoding of arbitrary bytes with a block length taken from the input
// (small ones included), and encode-decode round trips fed in uneven chunks.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "qorkit/Qor_dstruct.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorkit;
    if (size < 2) return 0;
    const std::int32_t bufLeng = 1 + data[0] % 200;
    const std::size_t chunk = 1 + data[1] * 3u;
    data += 2;
    size -= 2;

    TRLEncoder rle;
    rle.SetBufLeng(bufLeng);
    std::vector<std::uint8_t> block(static_cast<std::size_t>(bufLeng));

    // Decoding: collect blocks only when told, as a caller would.
    std::size_t decoded = 0;
    for (std::size_t i = 0; i < size; ++i)
        if (rle.Decode(data[i])) {
            rle.GetResult(block.data());
            decoded += block.size();
        }
    while (const std::int32_t got = rle.GetRemainder(block.data()))
        decoded += static_cast<std::size_t>(got);
    if (decoded > 255 * size) std::abort();

    // Round trip.
    std::vector<std::uint8_t> coded;
    rle.Reset();
    for (std::size_t pos = 0; pos < size; pos += chunk) {
        const std::size_t n = size - pos < chunk ? size - pos : chunk;
        if (rle.Encode(data + pos, static_cast<std::int32_t>(n)))
            while (rle.BufCount() >= rle.BufLeng()) {
                rle.GetResult(block.data());
                coded.insert(coded.end(), block.begin(), block.end());
            }
    }
    for (;;) {
        const std::int32_t got = rle.Finish(block.data());
        coded.insert(coded.end(), block.begin(), block.begin() + got);
        if (got < bufLeng) break;
    }
    std::vector<std::uint8_t> back;
    rle.Reset();
    for (std::uint8_t b : coded)
        if (rle.Decode(b))
            while (rle.BufCount() >= rle.BufLeng()) {
                rle.GetResult(block.data());
                back.insert(back.end(), block.begin(), block.end());
            }
    while (const std::int32_t got = rle.GetRemainder(block.data()))
        back.insert(back.end(), block.begin(), block.begin() + got);
    if (back.size() != size || (size > 0 && std::memcmp(back.data(), data, size) != 0))
        std::abort();
    return 0;
}
