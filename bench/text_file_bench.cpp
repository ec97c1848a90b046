// Text-file helpers beside the familiar tools, in the same run: CountLinesInTextFile beside
// `wc -l` and a std::getline loop, EnsureCRLFInFile beside a std::getline copy loop, and
// ReadLastNLinesOfTextFile on files of two sizes beside `tail -n`. The files are generated in
// a private temporary folder that is removed at exit.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "qorkit/filesys/text_file_tools.h"

namespace {

constexpr std::int64_t kBigSize = 256LL << 20;
constexpr std::int64_t kSmallSize = 16LL << 20;

// Lines of 0 to 120 characters, LF-ended, with a lone CR in about one line in 16.
void WriteText(const std::filesystem::path& path, std::int64_t size) {
    std::string block;
    std::uint32_t x = 12345;
    while (static_cast<std::int64_t>(block.size()) < (1 << 20)) {
        x = x * 1103515245u + 12345u;
        const std::size_t len = (x >> 16) % 121;
        for (std::size_t i = 0; i < len; ++i)
            block += static_cast<char>('a' + (i * 7 + len) % 26);
        if (((x >> 8) & 15) == 0) block += '\r';
        block += '\n';
    }
    std::ofstream out(path, std::ios::binary);
    for (std::int64_t done = 0; done < size; done += static_cast<std::int64_t>(block.size()))
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
}

class BenchFolder {
  public:
    BenchFolder() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "qorkit-bench-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
        FDir = tmpl;
        WriteText(Big(), kBigSize);
        WriteText(Small(), kSmallSize);
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(FDir, ec);
    }
    std::filesystem::path Big() const { return FDir / "big.txt"; }
    std::filesystem::path Small() const { return FDir / "small.txt"; }
    std::filesystem::path Out() const { return FDir / "out.txt"; }

  private:
    std::filesystem::path FDir;
};

const BenchFolder& Folder() {
    static const BenchFolder folder;
    return folder;
}

qorkit::String Name(const std::filesystem::path& p) {
    return qorkit::FromUtf8(p.string());
}

void Shell(const std::string& command) {
    if (std::system(command.c_str()) != 0) std::abort();
}

void BM_CountLinesInTextFile(benchmark::State& state) {
    const qorkit::String name = Name(Folder().Big());
    for (auto _ : state)
        benchmark::DoNotOptimize(qorkit::CountLinesInTextFile(name, nullptr));
    state.SetBytesProcessed(state.iterations() * kBigSize);
}

void BM_WcL(benchmark::State& state) {
    const std::string command = "wc -l < '" + Folder().Big().string() + "' > /dev/null";
    for (auto _ : state)
        Shell(command);
    state.SetBytesProcessed(state.iterations() * kBigSize);
}

void BM_GetlineCount(benchmark::State& state) {
    for (auto _ : state) {
        std::ifstream in(Folder().Big(), std::ios::binary);
        std::string line;
        std::int64_t n = 0;
        while (std::getline(in, line))
            ++n;
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(state.iterations() * kBigSize);
}

void BM_EnsureCRLFInFile(benchmark::State& state) {
    const qorkit::String in = Name(Folder().Big());
    const qorkit::String out = Name(Folder().Out());
    for (auto _ : state)
        qorkit::EnsureCRLFInFile(in, out);
    state.SetBytesProcessed(state.iterations() * kBigSize);
}

// The plain peer of a line-end pass: each line read with std::getline and written again with
// its LF.
void BM_GetlineCopy(benchmark::State& state) {
    for (auto _ : state) {
        std::ifstream in(Folder().Big(), std::ios::binary);
        std::ofstream out(Folder().Out(), std::ios::binary | std::ios::trunc);
        std::string line;
        while (std::getline(in, line)) {
            out << line;
            out << '\n';
        }
    }
    state.SetBytesProcessed(state.iterations() * kBigSize);
}

void LastLines(benchmark::State& state, const std::filesystem::path& file) {
    const qorkit::String name = Name(file);
    std::int32_t got = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(qorkit::ReadLastNLinesOfTextFile(name, 10, got));
}

void BM_ReadLastNLines_16MiB(benchmark::State& state) {
    LastLines(state, Folder().Small());
}
void BM_ReadLastNLines_256MiB(benchmark::State& state) {
    LastLines(state, Folder().Big());
}
void BM_TailN_256MiB(benchmark::State& state) {
    const std::string command = "tail -n 10 '" + Folder().Big().string() + "' > /dev/null";
    for (auto _ : state)
        Shell(command);
}

}  // namespace

BENCHMARK(BM_CountLinesInTextFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcL)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GetlineCount)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EnsureCRLFInFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GetlineCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadLastNLines_16MiB)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_ReadLastNLines_256MiB)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_TailN_256MiB)->Unit(benchmark::kMicrosecond)->UseRealTime();

BENCHMARK_MAIN();
