// Line counting, line reading and number scanning over 64 MiB files through TFileStream,
// each beside a standard-library peer over the same file in the same run: std::count over
// std::ifstream blocks, std::getline, and std::strtod over the file's text. Line reading is
// also measured on lines of 80, 100,000 and 4 Mi characters, with ReadLnStream and with
// TMixedFStream::ReadLn, beside std::getline followed by the widening copy into 16-bit text.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "qorkit/rtl/file_stream.h"
#include "qorkit/streams/mixed_file_stream.h"
#include "qorkit/streams/number_scan.h"
#include "qorkit/streams/stream_text.h"

namespace {

constexpr std::int64_t kFileSize = 64 * 1024 * 1024;

// A file of `kFileSize` bytes made by repeating one generated block; removed at exit.
class BenchFile {
  public:
    BenchFile(const std::string& tag, const std::string& block)
        : FPath(std::filesystem::temp_directory_path() /
                ("qorkit-stream-bench-" + tag + "-" + std::to_string(::getpid()) + ".txt")) {
        std::ofstream out(FPath, std::ios::binary);
        std::int64_t done = 0;
        while (done < kFileSize) {
            const auto n = std::min<std::int64_t>(std::ssize(block), kFileSize - done);
            out.write(block.data(), n);
            done += n;
        }
    }
    ~BenchFile() {
        std::error_code ec;
        std::filesystem::remove(FPath, ec);
    }
    const std::filesystem::path& Path() const { return FPath; }
    qorkit::String Name() const { return qorkit::FromUtf8(FPath.string()); }

  private:
    std::filesystem::path FPath;
};

// Text lines of 0 to 80 characters ending in CR LF, about 1 MiB of them.
const BenchFile& LineFile() {
    static const BenchFile file("lines", [] {
        std::string block;
        std::uint32_t seed = 12345;
        while (block.size() < (1u << 20)) {
            seed = seed * 134775813u + 1u;
            const std::size_t len = (seed >> 16) % 81;
            for (std::size_t i = 0; i < len; ++i)
                block.push_back(static_cast<char>('a' + (i + seed) % 26));
            block += "\r\n";
        }
        return block;
    }());
    return file;
}

// Numbers in fixed and exponent forms separated by blanks and line ends.
const BenchFile& NumberFile() {
    static const BenchFile file("numbers", [] {
        std::string block;
        std::uint32_t seed = 777;
        char buf[40];
        int k = 0;
        while (block.size() < (1u << 20)) {
            seed = seed * 134775813u + 1u;
            const double v = (static_cast<double>(seed) - 2147483648.0) / 1048576.0;
            std::snprintf(buf, sizeof buf, (k++ % 3 == 0) ? "%.6e" : "%.4f", v);
            block += buf;
            block += (k % 8 == 0) ? "\r\n" : " ";
        }
        return block;
    }());
    return file;
}

// Lines of exactly `Len` characters ending in CR LF.
const BenchFile& FixedLineFile(std::size_t Len) {
    static std::map<std::size_t, std::unique_ptr<BenchFile>> files;
    auto& f = files[Len];
    if (!f) {
        std::string block;
        while (block.size() < (1u << 20) || block.size() % (Len + 2) != 0) {
            for (std::size_t i = 0; i < Len; ++i)
                block.push_back(static_cast<char>('a' + i % 26));
            block += "\r\n";
        }
        f = std::make_unique<BenchFile>("fixed" + std::to_string(Len), block);
    }
    return *f;
}

// Reads every line of the file `name` with ReadLnStream (CR LF line ends) per iteration.
void ReadAllLines(benchmark::State& state, const qorkit::String& name) {
    for (auto _ : state) {
        qorkit::TFileStream s(name, qorkit::fmOpenRead);
        bool eos = false;
        std::size_t chars = 0;
        for (;;) {
            const qorkit::String line = qorkit::ReadLnStream(s, eos, qorkit::eolCRLF);
            chars += line.size();
            if (eos) break;
        }
        benchmark::DoNotOptimize(chars);
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

// ReadLnStream on lines of state.range(0) characters, beside std::getline followed by the
// copy into 16-bit text that ReadLnStream's result is.
void BM_ReadLnStream_Long(benchmark::State& state) {
    ReadAllLines(state, FixedLineFile(static_cast<std::size_t>(state.range(0))).Name());
}

// TMixedFStream::ReadLn (CR LF line ends, control bytes dropped) on the same files. The file's
// line count is known, so the loop does not ask Eos, which costs a size query of the file per
// call.
void BM_MixedFStreamReadLn_Long(benchmark::State& state) {
    const auto len = static_cast<std::size_t>(state.range(0));
    const qorkit::String name = FixedLineFile(len).Name();
    const std::int64_t lines =
        (kFileSize + static_cast<std::int64_t>(len) + 1) / (static_cast<std::int64_t>(len) + 2);
    for (auto _ : state) {
        qorkit::TMixedFStream s(name, qorkit::fmOpenRead);
        std::size_t chars = 0;
        for (std::int64_t i = 0; i < lines; ++i)
            chars += s.ReadLn(qorkit::eolCRLF).size();
        benchmark::DoNotOptimize(chars);
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

void BM_StdGetlineWidened_Long(benchmark::State& state) {
    const auto& path = FixedLineFile(static_cast<std::size_t>(state.range(0))).Path();
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string line;
        std::size_t chars = 0;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::u16string wide(line.begin(), line.end());
            chars += wide.size();
        }
        benchmark::DoNotOptimize(chars);
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

void BM_CountLinesInStream(benchmark::State& state) {
    const qorkit::String name = LineFile().Name();
    for (auto _ : state) {
        qorkit::TFileStream s(name, qorkit::fmOpenRead);
        benchmark::DoNotOptimize(qorkit::CountLinesInStream(s));
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

void BM_StdCount_Ifstream(benchmark::State& state) {
    std::vector<char> block(65536);
    for (auto _ : state) {
        std::ifstream in(LineFile().Path(), std::ios::binary);
        std::int64_t lines = 0;
        while (in.read(block.data(), std::ssize(block)) || in.gcount() > 0)
            lines += std::count(block.data(), block.data() + in.gcount(), '\n');
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

void BM_ReadLnStream_CRLF(benchmark::State& state) {
    ReadAllLines(state, LineFile().Name());
}

void BM_StdGetline(benchmark::State& state) {
    for (auto _ : state) {
        std::ifstream in(LineFile().Path(), std::ios::binary);
        std::string line;
        std::size_t chars = 0;
        while (std::getline(in, line))
            chars += line.size();
        benchmark::DoNotOptimize(chars);
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

void BM_ScanStreamFPNum(benchmark::State& state) {
    const qorkit::String name = NumberFile().Name();
    for (auto _ : state) {
        qorkit::TFileStream s(name, qorkit::fmOpenRead);
        double sum = 0;
        const std::int64_t size = s.Size();
        while (s.Position() < size)
            sum += qorkit::ScanStreamFPNum(s, true, qorkit::dpPoint);
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

void BM_StdStrtod(benchmark::State& state) {
    for (auto _ : state) {
        std::ifstream in(NumberFile().Path(), std::ios::binary);
        std::string text(static_cast<std::size_t>(kFileSize), '\0');
        in.read(text.data(), kFileSize);
        double sum = 0;
        const char* p = text.c_str();
        for (;;) {
            char* end = nullptr;
            const double v = std::strtod(p, &end);
            if (end == p) break;
            sum += v;
            p = end;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

}  // namespace

BENCHMARK(BM_CountLinesInStream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdCount_Ifstream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLnStream_CRLF)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdGetline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLnStream_Long)->Arg(80)->Arg(100000)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MixedFStreamReadLn_Long)
    ->Arg(80)
    ->Arg(100000)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdGetlineWidened_Long)
    ->Arg(80)
    ->Arg(100000)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanStreamFPNum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdStrtod)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
