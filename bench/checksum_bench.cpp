// Checksums and encodings against their usual peers on random bytes: CRC-32 against zlib and
// ISA-L, SHA-1 against OpenSSL, Base64 against OpenSSL's block coder, CRC-16, ASCII85 and the
// run-length coder against plain reference loops written here, and the memory itself (a read
// sweep and memcpy) as the limit; over a 64 MiB file in the page cache, CalcCRC32ofFile and
// SHA1FromStream on a TFileStream beside reading the file alone and reading it into ISA-L or
// OpenSSL. Compare the bytes/s of each pair from one run.
#include <isa-l/crc.h>
#include <openssl/evp.h>
#include <openssl/sha.h>
#include <zlib.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "qorkit/Qor_dstruct.h"
#include "qorkit/rtl/file_stream.h"
#include "qorkit/rtl/memory_stream.h"

namespace {

using namespace qorkit;

constexpr std::size_t kSize = 64u << 20;

const std::vector<std::uint8_t>& Data() {
    static const std::vector<std::uint8_t> data = [] {
        std::vector<std::uint8_t> d(kSize);
        std::mt19937_64 gen(42);
        for (std::size_t i = 0; i < d.size(); i += 8) {
            const std::uint64_t v = gen();
            for (std::size_t k = 0; k < 8; ++k)
                d[i + k] = static_cast<std::uint8_t>(v >> (8 * k));
        }
        return d;
    }();
    return data;
}

void Report(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes));
}

// The byte count of a sized benchmark.
std::size_t Size(const benchmark::State& state) {
    return static_cast<std::size_t>(state.range(0));
}

void BM_Crc32_Qorkit(benchmark::State& state) {
    const auto& d = Data();
    const std::span<const std::uint8_t> piece(d.data(), Size(state));
    state.SetLabel(CRC32Implementation());
    for (auto _ : state)
        benchmark::DoNotOptimize(CRC32ofBuffer(piece, static_cast<std::int32_t>(piece.size())));
    Report(state, piece.size());
}
void BM_Crc32_Zlib(benchmark::State& state) {
    const auto& d = Data();
    for (auto _ : state)
        benchmark::DoNotOptimize(crc32(0, d.data(), static_cast<uInt>(Size(state))));
    Report(state, Size(state));
}
void BM_Crc32_IsaL(benchmark::State& state) {
    const auto& d = Data();
    for (auto _ : state)
        benchmark::DoNotOptimize(crc32_gzip_refl(0, d.data(), Size(state)));
    Report(state, Size(state));
}

// The memory's own limits: reading every byte once, and copying.
void BM_Memory_ReadSweep(benchmark::State& state) {
    const auto& d = Data();
    for (auto _ : state) {
        std::uint64_t sum = 0;
        const auto* w = reinterpret_cast<const std::uint64_t*>(d.data());
        for (std::size_t i = 0; i < Size(state) / 8; i += 4)
            sum += w[i] ^ w[i + 1] ^ w[i + 2] ^ w[i + 3];
        benchmark::DoNotOptimize(sum);
    }
    Report(state, Size(state));
}
void BM_Memory_Memcpy(benchmark::State& state) {
    const auto& d = Data();
    std::vector<std::uint8_t> to(Size(state));
    for (auto _ : state) {
        std::memcpy(to.data(), d.data(), to.size());
        benchmark::DoNotOptimize(to.data());
    }
    Report(state, Size(state));
}
void BM_Crc16_Qorkit(benchmark::State& state) {
    const auto& d = Data();
    const std::span<const std::uint8_t> piece(d.data(), Size(state));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            CRC16ofBuffer(piece, static_cast<std::int32_t>(piece.size()), crcCCITT));
    Report(state, piece.size());
}
// The plain byte-at-a-time table loop (the library's path before carry-less folding).
void BM_Crc16_TableLoop(benchmark::State& state) {
    const auto& d = Data();
    for (auto _ : state) {
        std::uint16_t crc = 0xFFFF;
        for (std::size_t i = 0; i < Size(state); ++i)
            crc = CalcNextCRC16(d[i], crc);
        benchmark::DoNotOptimize(crc);
    }
    Report(state, Size(state));
}

void BM_Sha1_Qorkit(benchmark::State& state) {
    const auto& d = Data();
    state.SetLabel(SHA1Implementation());
    for (auto _ : state)
        benchmark::DoNotOptimize(SHA1FromBuffer(std::span(d.data(), Size(state))));
    Report(state, Size(state));
}
void BM_Sha1_QorkitStream(benchmark::State& state) {
    const auto& d = Data();
    TMemoryStream s;
    s.WriteBuffer(d.data(), static_cast<std::int64_t>(Size(state)));
    state.SetLabel(SHA1Implementation());
    for (auto _ : state) {
        s.SetPosition(0);
        benchmark::DoNotOptimize(SHA1FromStream(s));
    }
    Report(state, Size(state));
}
void BM_Sha1_OpenSsl(benchmark::State& state) {
    const auto& d = Data();
    unsigned char md[20];
    for (auto _ : state) {
        SHA1(d.data(), Size(state), md);
        benchmark::DoNotOptimize(md);
    }
    Report(state, Size(state));
}

void BM_Base64Encode_Qorkit(benchmark::State& state) {
    const auto& d = Data();
    TMemoryStream in, out;
    in.WriteBuffer(d.data(), static_cast<std::int64_t>(Size(state)));
    out.SetSize(static_cast<std::int64_t>(Size(state) / 3 * 4 + 4));  // allocated once
    state.SetLabel(Base64Implementation());
    for (auto _ : state) {
        in.SetPosition(0);
        out.SetPosition(0);
        EncodeBase64(in, out, false);
    }
    Report(state, Size(state));
}
void BM_Base64Encode_OpenSsl(benchmark::State& state) {
    const auto& d = Data();
    std::vector<unsigned char> out(Size(state) / 3 * 4 + 8);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            EVP_EncodeBlock(out.data(), d.data(), static_cast<int>(Size(state))));
    Report(state, Size(state));
}

std::vector<std::uint8_t> Coded(std::size_t n) {
    const auto& d = Data();
    std::vector<std::uint8_t> out(n / 3 * 4 + 8);
    out.resize(
        static_cast<std::size_t>(EVP_EncodeBlock(out.data(), d.data(), static_cast<int>(n))));
    return out;
}

void BM_Base64Decode_Qorkit(benchmark::State& state) {
    const auto coded = Coded(Size(state));
    TMemoryStream in, out;
    in.WriteBuffer(coded.data(), static_cast<std::int64_t>(coded.size()));
    out.SetSize(static_cast<std::int64_t>(Size(state) + 8));
    state.SetLabel(Base64Implementation());
    for (auto _ : state) {
        in.SetPosition(0);
        out.SetPosition(0);
        benchmark::DoNotOptimize(DecodeBase64(in, out));
    }
    Report(state, Size(state));  // decoded bytes, as for the encoders
}
void BM_Base64Decode_OpenSsl(benchmark::State& state) {
    const auto coded = Coded(Size(state));
    std::vector<unsigned char> out(Size(state) + 8);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            EVP_DecodeBlock(out.data(), coded.data(), static_cast<int>(coded.size())));
    Report(state, Size(state));
}

void BM_Ascii85Encode_Qorkit(benchmark::State& state) {
    const auto& d = Data();
    TMemoryStream in, out;
    in.WriteBuffer(d.data(), static_cast<std::int64_t>(d.size()));
    out.SetSize(static_cast<std::int64_t>(d.size() / 4 * 5 + 8));
    for (auto _ : state) {
        in.SetPosition(0);
        out.SetPosition(0);
        EncodeASCII85(in, out, false);
    }
    Report(state, d.size());
}

// A straightforward ASCII85 encoder over a buffer, as a reference for the stream coder.
void BM_Ascii85Encode_ReferenceLoop(benchmark::State& state) {
    const auto& d = Data();
    std::vector<std::uint8_t> out(d.size() / 4 * 5 + 8);
    for (auto _ : state) {
        std::uint8_t* o = out.data();
        for (std::size_t i = 0; i + 4 <= d.size(); i += 4) {
            std::uint32_t v = std::uint32_t{d[i]} << 24 | std::uint32_t{d[i + 1]} << 16 |
                              std::uint32_t{d[i + 2]} << 8 | d[i + 3];
            if (v == 0) {
                *o++ = 'z';
                continue;
            }
            for (int k = 4; k >= 0; --k) {
                o[k] = static_cast<std::uint8_t>(v % 85 + 33);
                v /= 85;
            }
            o += 5;
        }
        benchmark::DoNotOptimize(out.data());
    }
    Report(state, d.size());
}
void BM_Ascii85Decode_Qorkit(benchmark::State& state) {
    const auto& d = Data();
    TMemoryStream plain, coded, out;
    plain.WriteBuffer(d.data(), static_cast<std::int64_t>(d.size()));
    plain.SetPosition(0);
    EncodeASCII85(plain, coded, false);
    out.SetSize(static_cast<std::int64_t>(d.size() + 8));
    for (auto _ : state) {
        coded.SetPosition(0);
        out.SetPosition(0);
        benchmark::DoNotOptimize(DecodeASCII85(coded, out));
    }
    Report(state, d.size());  // decoded bytes
}

// Run-length input with runs: random bytes repeated 1 to 8 times.
const std::vector<std::uint8_t>& RunData() {
    static const std::vector<std::uint8_t> data = [] {
        std::vector<std::uint8_t> d;
        d.reserve(kSize);
        std::mt19937 gen(3);
        while (d.size() < kSize)
            d.insert(d.end(), 1 + gen() % 8, static_cast<std::uint8_t>(gen()));
        d.resize(kSize);
        return d;
    }();
    return data;
}

void BM_RleEncode_Qorkit(benchmark::State& state) {
    const auto& d = RunData();
    std::vector<std::uint8_t> block(4096);
    std::size_t coded = 0;
    for (auto _ : state) {
        TRLEncoder rle;
        rle.SetBufLeng(4096);
        coded = 0;
        for (std::size_t pos = 0; pos < d.size(); pos += 4096) {
            if (rle.Encode(d.data() + pos, 4096))
                while (rle.BufCount() >= 4096) {
                    rle.GetResult(block.data());
                    coded += 4096;
                }
        }
        while (true) {
            const std::int32_t got = rle.Finish(block.data());
            coded += static_cast<std::size_t>(got);
            if (got < 4096) break;
        }
        benchmark::DoNotOptimize(coded);
    }
    state.counters["ratio"] = static_cast<double>(coded) / static_cast<double>(d.size());
    Report(state, d.size());
}

// A straightforward run-length encoder of the same format into a buffer, as a reference.
void BM_RleEncode_ReferenceLoop(benchmark::State& state) {
    const auto& d = RunData();
    std::vector<std::uint8_t> out(d.size() * 3 + 3);
    for (auto _ : state) {
        std::uint8_t* o = out.data();
        std::size_t i = 0;
        while (i < d.size()) {
            const std::uint8_t b = d[i];
            std::size_t run = 1;
            while (i + run < d.size() && d[i + run] == b && run < 254)
                ++run;
            if (run <= 2 && b != 0xA5) {
                for (std::size_t k = 0; k < run; ++k)
                    *o++ = b;
            } else {
                *o++ = 0xA5;
                *o++ = static_cast<std::uint8_t>(run);
                *o++ = b;
            }
            i += run;
        }
        benchmark::DoNotOptimize(o);
    }
    Report(state, d.size());
}

void BM_RleDecode_Qorkit(benchmark::State& state) {
    const auto& d = RunData();
    std::vector<std::uint8_t> coded, block(4096);
    {
        TRLEncoder rle;
        rle.SetBufLeng(4096);
        for (std::size_t pos = 0; pos < d.size(); pos += 4096) {
            if (rle.Encode(d.data() + pos, 4096))
                while (rle.BufCount() >= 4096) {
                    rle.GetResult(block.data());
                    coded.insert(coded.end(), block.begin(), block.end());
                }
        }
        while (true) {
            const std::int32_t got = rle.Finish(block.data());
            coded.insert(coded.end(), block.begin(), block.begin() + got);
            if (got < 4096) break;
        }
    }
    for (auto _ : state) {
        TRLEncoder rle;
        rle.SetBufLeng(4096);
        for (std::uint8_t b : coded)
            if (rle.Decode(b)) rle.GetResult(block.data());
        while (rle.GetRemainder(block.data()) > 0) {
        }
    }
    Report(state, d.size());  // decoded bytes
}

constexpr std::int64_t k64K = 64 << 10, k16M = 16 << 20;
// A file of the data in a private temporary folder (removed at exit), read from the page
// cache: the rows over it compare the library's file forms with the bare reading of the file.
const std::string& DataFile() {
    static const std::string name = [] {
        std::string dir = (std::filesystem::temp_directory_path() / "qorkit-bench-XXXXXX").string();
        if (::mkdtemp(dir.data()) == nullptr) std::abort();
        static const std::string folder = dir;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(folder, ec);
        });
        const std::string file = dir + "/data.bin";
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(Data().data()),
                  static_cast<std::streamsize>(Data().size()));
        return file;
    }();
    return name;
}

// Calls `consume(block, length)` for every 256 KiB block of the data file.
template <class F>
void ReadDataFile(F consume) {
    static std::vector<std::uint8_t> buffer(256u << 10);
    const int fd = ::open(DataFile().c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) std::abort();
    for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;)
        consume(buffer.data(), static_cast<std::size_t>(n));
    ::close(fd);
}

void BM_File_ReadOnly(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t total = 0;
        ReadDataFile([&](const std::uint8_t*, std::size_t n) { total += n; });
        benchmark::DoNotOptimize(total);
    }
    Report(state, kSize);
}
void BM_File_Crc32_Qorkit(benchmark::State& state) {
    const String name = FromUtf8(DataFile());
    for (auto _ : state)
        benchmark::DoNotOptimize(CalcCRC32ofFile(name));
    Report(state, kSize);
}
void BM_File_Crc32_ReadThenIsaL(benchmark::State& state) {
    for (auto _ : state) {
        std::uint32_t crc = 0;
        ReadDataFile([&](const std::uint8_t* p, std::size_t n) {
            crc = crc32_gzip_refl(crc, p, static_cast<std::uint64_t>(n));
        });
        benchmark::DoNotOptimize(crc);
    }
    Report(state, kSize);
}
void BM_File_Sha1_QorkitFileStream(benchmark::State& state) {
    const String name = FromUtf8(DataFile());
    for (auto _ : state) {
        TFileStream f(name, fmOpenRead);
        benchmark::DoNotOptimize(SHA1FromStream(f));
    }
    Report(state, kSize);
}
void BM_File_Sha1_ReadThenOpenSsl(benchmark::State& state) {
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    EVP_MD_CTX* c = EVP_MD_CTX_new();
    for (auto _ : state) {
        EVP_DigestInit_ex(c, EVP_sha1(), nullptr);
        ReadDataFile([&](const std::uint8_t* p, std::size_t n) { EVP_DigestUpdate(c, p, n); });
        EVP_DigestFinal_ex(c, md, &len);
        benchmark::DoNotOptimize(md);
    }
    EVP_MD_CTX_free(c);
    Report(state, kSize);
}

BENCHMARK(BM_Memory_ReadSweep)->Arg(64 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memory_Memcpy)->Arg(64 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Crc32_Qorkit)->Arg(k64K)->Arg(k16M)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Crc32_Zlib)->Arg(k64K)->Arg(k16M)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Crc32_IsaL)->Arg(k64K)->Arg(k16M)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Crc16_Qorkit)->Arg(k16M)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Crc16_TableLoop)->Arg(k16M)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sha1_Qorkit)->Arg(k64K)->Arg(k16M)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sha1_QorkitStream)->Arg(k64K)->Arg(k16M)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sha1_OpenSsl)->Arg(k64K)->Arg(k16M)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Base64Encode_Qorkit)->Arg(k16M)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Base64Encode_OpenSsl)->Arg(k16M)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Base64Decode_Qorkit)->Arg(k16M)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Base64Decode_OpenSsl)->Arg(k16M)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ascii85Encode_Qorkit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ascii85Encode_ReferenceLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ascii85Decode_Qorkit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RleEncode_Qorkit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RleEncode_ReferenceLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RleDecode_Qorkit)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_File_ReadOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_File_Crc32_Qorkit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_File_Crc32_ReadThenIsaL)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_File_Sha1_QorkitFileStream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_File_Sha1_ReadThenOpenSsl)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
