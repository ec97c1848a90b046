// Fuzz target: the BMP and PNG readers of TBitmap. The first byte chooses whether the rest is
// read as it is or behind a PNG signature or a BMP file header, so that both decoders are
// reached from the first inputs on. A decoded image must have a size within the limits and
// pixels with a zero top byte; everything else must be refused with EInvalidGraphic.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "qorkit/rtl/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorkit;
    if (size < 1) return 0;
    std::vector<std::uint8_t> bytes;
    switch (data[0] % 3) {
        case 1:
            bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
            break;
        case 2:
            bytes = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0};
            break;
        default:
            break;
    }
    bytes.insert(bytes.end(), data + 1, data + size);
    TBitmap b;
    try {
        b.LoadFromBytes(bytes);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    if (b.Width() < 1 || b.Height() < 1 || b.Width() > kMaxBitmapSide ||
        b.Height() > kMaxBitmapSide)
        std::abort();
    for (std::int32_t y = 0; y < b.Height(); ++y)
        for (const std::uint32_t px : b.ScanLine(y))
            if (px >> 24) std::abort();
    // What was read writes back and reads again to the same pixels.
    TBitmap again;
    again.LoadFromBytes(b.SaveToBytes(ifBMP));
    for (std::int32_t y = 0; y < b.Height(); ++y)
        for (std::int32_t x = 0; x < b.Width(); ++x)
            if (again.ScanLine(y)[x] != b.ScanLine(y)[x]) std::abort();
    return 0;
}
