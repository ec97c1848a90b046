// Base64 over streams. Both directions move data in large chunks but keep the classic block
// structure: lines of 45 input bytes when encoding, blocks of 88 characters when decoding
// (which decides what is written before a bad group).
#include "qorkit/dstruct/base64.h"

#include <array>
#include <cstring>
#include <vector>

#include "checksum_cpu.h"
#include "stream_chunks.h"

namespace qorkit {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::uint8_t kBad = 255;    // outside "+" to "z": the group is rejected
constexpr std::uint8_t kOther = 127;  // inside that range but not in the alphabet

constexpr std::array<std::uint8_t, 256> MakeDecodeTable() {
    std::array<std::uint8_t, 256> t{};
    for (auto& v : t)
        v = kBad;
    for (int c = '+'; c <= 'z'; ++c)
        t[static_cast<std::size_t>(c)] = kOther;
    for (std::uint8_t i = 0; i < 64; ++i)
        t[static_cast<std::uint8_t>(kAlphabet[i])] = i;
    return t;
}
constexpr auto kDecode = MakeDecodeTable();

// Two encoded characters per table entry: all 4096 values of a 12-bit group at once.
std::array<std::uint16_t, 4096> MakePairTable() {
    std::array<std::uint16_t, 4096> t{};
    for (unsigned v = 0; v < 4096; ++v) {
        const auto hi = static_cast<std::uint8_t>(kAlphabet[v >> 6]);
        const auto lo = static_cast<std::uint8_t>(kAlphabet[v & 63]);
        // Stored in memory order: the first character at the lower address.
        const std::uint8_t bytes[2] = {hi, lo};
        std::uint16_t pair;
        __builtin_memcpy(&pair, bytes, 2);
        t[v] = pair;
    }
    return t;
}

constexpr std::size_t kLineBytes = 45;
constexpr std::size_t kBlockChars = 88;

}  // namespace

namespace {

// Encodes `n` bytes as one run of characters (padding only at its end) and returns its length.
std::size_t EncodeFlat(const std::uint8_t* p, std::size_t n, std::uint8_t* o) {
    static const std::array<std::uint16_t, 4096> kPairs = MakePairTable();
    std::size_t i = 0;
    switch (detail::ActiveBase64Path()) {
        case detail::Base64Path::Avx512Vbmi:
            i = detail::Base64EncodeVbmi(p, n, o);
            break;
        case detail::Base64Path::Avx2:
            i = detail::Base64EncodeAvx2(p, n, o);
            break;
        case detail::Base64Path::Scalar:
            break;
    }
    std::uint8_t* const start = o;
    o += i / 3 * 4;
    for (; i + 3 <= n; i += 3) {
        const unsigned v = unsigned{p[i]} << 16 | unsigned{p[i + 1]} << 8 | p[i + 2];
        __builtin_memcpy(o, &kPairs[v >> 12], 2);
        __builtin_memcpy(o + 2, &kPairs[v & 0xFFF], 2);
        o += 4;
    }
    if (n - i == 1) {
        const unsigned v = p[i];
        *o++ = static_cast<std::uint8_t>(kAlphabet[v >> 2]);
        *o++ = static_cast<std::uint8_t>(kAlphabet[(v & 3) << 4]);
        *o++ = '=';
        *o++ = '=';
    } else if (n - i == 2) {
        const unsigned v = unsigned{p[i]} << 8 | p[i + 1];
        *o++ = static_cast<std::uint8_t>(kAlphabet[v >> 10]);
        *o++ = static_cast<std::uint8_t>(kAlphabet[(v >> 4) & 63]);
        *o++ = static_cast<std::uint8_t>(kAlphabet[(v & 15) << 2]);
        *o++ = '=';
    }
    return static_cast<std::size_t>(o - start);
}

}  // namespace

void EncodeBase64(TStream& Input, TStream& Output, bool LineBreaks) {
    // Lines hold 45 bytes, 15 whole groups, and a chunk holds whole lines, so the text of a
    // chunk is one run of characters cut into lines of 60: only the last group of all pads.
    constexpr std::size_t kLinesPerChunk = 1456;  // about 64 KiB of input per read
    constexpr std::size_t kLineChars = kLineBytes / 3 * 4;
    detail::StreamChunks in(Input, kLineBytes * kLinesPerChunk, &Output);
    detail::StreamSink out(Output, &Input);
    std::vector<std::uint8_t> flat(LineBreaks ? kLinesPerChunk * kLineChars : 0);
    for (;;) {
        const std::span<const std::uint8_t> piece = in.Next();
        const std::size_t n = piece.size();
        if (n == 0) break;
        const std::size_t chars = (n + 2) / 3 * 4;
        if (!LineBreaks) {
            EncodeFlat(piece.data(), n, out.Reserve(chars));
        } else {
            EncodeFlat(piece.data(), n, flat.data());
            const std::size_t lines = (chars + kLineChars - 1) / kLineChars;
            std::uint8_t* o = out.Reserve(chars + 2 * lines);
            for (std::size_t c = 0; c < chars; c += kLineChars) {
                const std::size_t len = chars - c < kLineChars ? chars - c : kLineChars;
                std::memcpy(o, flat.data() + c, len);
                o[len] = '\r';
                o[len + 1] = '\n';
                o += len + 2;
            }
        }
        out.Commit();
        if (n < kLineBytes * kLinesPerChunk) break;
    }
}

namespace {

// Per character position: the 6-bit value already shifted into place inside a 24-bit group,
// or a flag bit (31) for every character outside the alphabet.
constexpr std::uint32_t kFlag = 0x80000000u;
constexpr std::array<std::array<std::uint32_t, 256>, 4> MakeShiftedTables() {
    std::array<std::array<std::uint32_t, 256>, 4> t{};
    for (std::size_t pos = 0; pos < 4; ++pos)
        for (std::size_t c = 0; c < 256; ++c)
            t[pos][c] = kDecode[c] < 64 ? std::uint32_t{kDecode[c]} << (18 - 6 * pos) : kFlag;
    return t;
}
constexpr auto kShifted = MakeShiftedTables();

// Decodes one group of four characters into `o`, which must have room for four bytes; returns
// the number of bytes that count, or -1 when a character lies outside "+" to "z".
inline int DecodeGroup(const std::uint8_t* c, std::uint8_t* o) {
    const std::uint32_t v =
        kShifted[0][c[0]] | kShifted[1][c[1]] | kShifted[2][c[2]] | kShifted[3][c[3]];
    if (!(v & kFlag)) {
        o[0] = static_cast<std::uint8_t>(v >> 16);
        o[1] = static_cast<std::uint8_t>(v >> 8);
        o[2] = static_cast<std::uint8_t>(v);
        return 3;
    }
    const std::uint8_t d0 = kDecode[c[0]], d1 = kDecode[c[1]], d2 = kDecode[c[2]],
                       d3 = kDecode[c[3]];
    if (d0 == kBad || d1 == kBad || d2 == kBad || d3 == kBad) return -1;
    o[0] = static_cast<std::uint8_t>(d0 << 2 | d1 >> 4);
    if (c[2] == '=') return 1;
    o[1] = static_cast<std::uint8_t>(d1 << 4 | d2 >> 2);
    if (c[3] == '=') return 2;
    o[2] = static_cast<std::uint8_t>(d2 << 6 | d3);
    return 3;
}

// Decodes the longest run of whole vectors of alphabet characters the active kernel takes;
// returns its length in characters (0 on the scalar path).
std::size_t DecodeRun(const std::uint8_t* text, std::size_t len, std::uint8_t* o) {
    switch (detail::ActiveBase64Path()) {
        case detail::Base64Path::Avx512Vbmi:
            return detail::Base64DecodeVbmi(text, len, o);
        case detail::Base64Path::Avx2:
            return detail::Base64DecodeAvx2(text, len, o);
        case detail::Base64Path::Scalar:
            break;
    }
    return 0;
}

}  // namespace

std::int32_t DecodeBase64(TStream& Input, TStream& Output) {
    constexpr std::size_t kChunk = 64 * 1024;
    detail::StreamChunks in(Input, kChunk, &Output);
    // Characters without CR and LF: a partial block carried over plus one chunk.
    std::vector<std::uint8_t> text(kChunk + kBlockChars);
    // (32 bytes of room behind the output for the vector kernels' whole-register stores.)
    std::vector<std::uint8_t> out((kChunk + kBlockChars) / 4 * 3 + 3 + 32);
    std::size_t held = 0;  // characters in `text`
    bool atEnd = false;
    while (!atEnd) {
        const std::span<const std::uint8_t> piece = in.Next();
        const std::size_t n = piece.size();
        atEnd = n < kChunk;
        // The characters to decode: the piece itself when it has no line ends and nothing is
        // carried over, else the line-end-free copy in `text`.
        const std::uint8_t* src = text.data();
        if (n == 0) {
        } else if (std::memchr(piece.data(), '\r', n) == nullptr &&
                   std::memchr(piece.data(), '\n', n) == nullptr) {
            if (held == 0)
                src = piece.data();
            else
                std::memcpy(text.data() + held, piece.data(), n);
            held += n;
        } else {
            for (std::size_t i = 0; i < n; ++i) {
                const std::uint8_t c = piece[i];
                text[held] = c;
                held += (c != '\r' && c != '\n');
            }
        }
        // Whole blocks now; the last partial block only once the input has ended.
        const std::size_t usable = atEnd ? held : held / kBlockChars * kBlockChars;
        std::uint8_t* o = out.data();
        std::uint8_t* committed = o;  // bytes of finished blocks
        std::size_t pos = 0;
        while (pos < usable) {
            // Runs of alphabet characters go through the vector kernel, which decodes them
            // exactly as the groups below would; the output of a block start inside the run is
            // known from the run's start, three bytes per group.
            const std::size_t fast = DecodeRun(src + pos, usable - pos, o);
            if (fast > 0) {
                const std::size_t lastBlock = (pos + fast) / kBlockChars * kBlockChars;
                if (lastBlock >= pos) committed = o + (lastBlock - pos) / 4 * 3;
                o += fast / 4 * 3;
                pos += fast;
                if (pos == usable) break;
            }
            if (pos % kBlockChars == 0) committed = o;
            const std::size_t next = pos / kBlockChars * kBlockChars + kBlockChars;
            const std::size_t blockEnd = next < usable ? next : usable;
            for (; pos + 4 <= blockEnd; pos += 4) {
                const int got = DecodeGroup(src + pos, o);
                if (got < 0) {
                    Output.WriteBuffer(out.data(), committed - out.data());
                    return -1;
                }
                o += got;
            }
            if (pos < blockEnd) {
                // The text ended inside a group: the missing characters count as "=".
                std::uint8_t group[4] = {'=', '=', '=', '='};
                const std::size_t have = blockEnd - pos;
                for (std::size_t k = 0; k < have; ++k)
                    group[k] = src[pos + k];
                if (have >= 2) {
                    const int got = DecodeGroup(group, o);
                    if (got < 0) {
                        Output.WriteBuffer(out.data(), committed - out.data());
                        return -1;
                    }
                    o += got;
                } else if (kDecode[group[0]] == kBad) {
                    Output.WriteBuffer(out.data(), committed - out.data());
                    return -1;
                }
                pos = blockEnd;
            }
        }
        Output.WriteBuffer(out.data(), o - out.data());
        // Carry the partial block over to the next chunk.
        if (held > usable) std::memmove(text.data(), src + usable, held - usable);
        held -= usable;
    }
    return 0;
}

const char* Base64Implementation() noexcept {
    switch (detail::ActiveBase64Path()) {
        case detail::Base64Path::Avx512Vbmi:
            return "avx512-vbmi";
        case detail::Base64Path::Avx2:
            return "avx2";
        case detail::Base64Path::Scalar:
            break;
    }
    return "scalar";
}

}  // namespace qorkit
