// CRC-16 and CRC-32: lookup tables, the byte-wise steps, slicing by eight and the file CRC.
#include "qorkit/dstruct/crc.h"

#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include "checksum_cpu.h"
#include "qorkit/rtl/untyped_file.h"

namespace qorkit {

namespace {

constexpr std::array<std::uint16_t, 256> MakeCrc16Table() {
    std::array<std::uint16_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned r = i << 8;
        for (int k = 0; k < 8; ++k)
            r = (r & 0x8000u) ? (r << 1) ^ 0x1021u : r << 1;
        t[i] = static_cast<std::uint16_t>(r);
    }
    return t;
}

// Eight tables: table k maps a byte to its CRC followed by k zero bytes, so eight input bytes
// are folded with eight independent look-ups.
constexpr std::array<std::array<std::uint32_t, 256>, 8> MakeCrc32Tables() {
    std::array<std::array<std::uint32_t, 256>, 8> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t r = i;
        for (int k = 0; k < 8; ++k)
            r = (r & 1u) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
        t[0][i] = r;
    }
    for (std::size_t k = 1; k < 8; ++k)
        for (std::size_t i = 0; i < 256; ++i)
            t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFFu];
    return t;
}

constexpr auto kCrc16Table = MakeCrc16Table();
constexpr auto kCrc32Tables = MakeCrc32Tables();
static_assert(kCrc16Table[1] == 0x1021 && kCrc16Table[2] == 0x2042);
static_assert(kCrc32Tables[0][1] == 0x77073096u);

std::size_t Clamp(std::size_t Length, std::int32_t Count) {
    if (Count <= 0) return 0;
    return static_cast<std::size_t>(Count) < Length ? static_cast<std::size_t>(Count) : Length;
}

}  // namespace

namespace detail {

std::uint32_t Crc32Slice8(std::uint32_t Crc, const std::uint8_t* Data, std::size_t Len) noexcept {
    const auto& t = kCrc32Tables;
    while (Len >= 8) {
        std::uint32_t lo, hi;
        std::memcpy(&lo, Data, 4);
        std::memcpy(&hi, Data + 4, 4);
        if constexpr (std::endian::native == std::endian::big) {
            lo = __builtin_bswap32(lo);
            hi = __builtin_bswap32(hi);
        }
        lo ^= Crc;
        Crc = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
              t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
        Data += 8;
        Len -= 8;
    }
    while (Len-- > 0)
        Crc = t[0][(Crc ^ *Data++) & 0xFF] ^ (Crc >> 8);
    return Crc;
}

}  // namespace detail

std::uint16_t CalcNextCRC16(std::uint8_t b, std::uint16_t crc) noexcept {
    return static_cast<std::uint16_t>(kCrc16Table[((crc >> 8) ^ b) & 0xFF] ^ (crc << 8));
}

std::uint16_t detail::Crc16Table(std::uint16_t Crc, const std::uint8_t* Data,
                                 std::size_t Len) noexcept {
    while (Len-- > 0)
        Crc = CalcNextCRC16(*Data++, Crc);
    return Crc;
}

std::uint16_t UpdateCRC16(std::uint16_t Crc, std::span<const std::uint8_t> Data) noexcept {
    if (Data.size() >= 64 && detail::ActiveCrc16Path() == detail::Crc16Path::Clmul)
        return detail::Crc16Clmul(Crc, Data.data(), Data.size());
    return detail::Crc16Table(Crc, Data.data(), Data.size());
}

std::uint16_t CRC16ofBuffer(std::span<const std::uint8_t> Buf, std::int32_t Count,
                            TCRC16Mode Mode) noexcept {
    const std::uint16_t start = Mode == crcZModem ? 0x0000 : 0xFFFF;
    return UpdateCRC16(start, Buf.first(Clamp(Buf.size(), Count)));
}

std::uint32_t CalcNextCRC32(std::uint8_t b, std::uint32_t crc) noexcept {
    return kCrc32Tables[0][(crc ^ b) & 0xFF] ^ (crc >> 8);
}

std::uint32_t UpdateCRC32(std::uint32_t Crc, std::span<const std::uint8_t> Data) noexcept {
    using detail::Crc32Path;
    const Crc32Path path = detail::ActiveCrc32Path();
    if (path == Crc32Path::Vpclmul512 && Data.size() >= 256)
        return detail::Crc32Vpclmul512(Crc, Data.data(), Data.size());
    if (path != Crc32Path::Slice8 && Data.size() >= 64)
        return detail::Crc32Clmul(Crc, Data.data(), Data.size());
    return detail::Crc32Slice8(Crc, Data.data(), Data.size());
}

std::uint32_t CRC32ofBuffer(std::span<const std::uint8_t> Buf, std::int32_t Count) noexcept {
    return UpdateCRC32(0xFFFFFFFFu, Buf.first(Clamp(Buf.size(), Count))) ^ 0xFFFFFFFFu;
}

std::uint32_t CalcCRC32ofFile(const String& FileName) noexcept {
    try {
        TUntypedFile f;
        f.Assign(FileName);
        f.Reset();  // opens read-only
        // Large blocks bypass the file's own buffer: the read, not the checksum, sets the pace.
        std::vector<std::uint8_t> block(256 * 1024);
        std::uint32_t crc = 0xFFFFFFFFu;
        for (;;) {
            std::int64_t got = 0;
            f.BlockRead(block.data(), static_cast<std::int64_t>(block.size()), got);
            if (got <= 0) break;
            crc = UpdateCRC32(crc, std::span(block.data(), static_cast<std::size_t>(got)));
        }
        f.Close();
        return crc ^ 0xFFFFFFFFu;
    } catch (...) {
        return 0;
    }
}

const char* CRC32Implementation() noexcept {
    switch (detail::ActiveCrc32Path()) {
        case detail::Crc32Path::Vpclmul512:
            return "vpclmul-512";
        case detail::Crc32Path::Clmul:
            return "pclmul";
        case detail::Crc32Path::Slice8:
            break;
    }
    return "slice8";
}

}  // namespace qorkit
