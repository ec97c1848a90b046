// Reading a file one byte at a time: TFileStream::Read(&b, 1) beside std::ifstream::get over
// the same 64 MiB file, in the same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "qorkit/rtl/file_stream.h"

namespace {

constexpr std::int64_t kFileSize = 64 * 1024 * 1024;

// The test file, written once per run and removed at exit.
class BenchFile {
  public:
    BenchFile()
        : FPath(std::filesystem::temp_directory_path() /
                ("qorkit-bench-" + std::to_string(::getpid()) + ".bin")) {
        std::vector<char> block(1 << 20);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>(i * 31 + 7);
        std::ofstream out(FPath, std::ios::binary);
        for (std::int64_t done = 0; done < kFileSize; done += std::ssize(block))
            out.write(block.data(), std::ssize(block));
    }
    ~BenchFile() {
        std::error_code ec;
        std::filesystem::remove(FPath, ec);
    }
    const std::filesystem::path& Path() const { return FPath; }

  private:
    std::filesystem::path FPath;
};

const BenchFile& File() {
    static const BenchFile file;
    return file;
}

void BM_TFileStream_ReadByte(benchmark::State& state) {
    const qorkit::String name = qorkit::FromUtf8(File().Path().string());
    for (auto _ : state) {
        qorkit::TFileStream s(name, qorkit::fmOpenRead);
        std::uint8_t b = 0;
        std::uint64_t sum = 0;
        while (s.Read(&b, 1) == 1)
            sum += b;
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

void BM_Ifstream_Get(benchmark::State& state) {
    for (auto _ : state) {
        std::ifstream in(File().Path(), std::ios::binary);
        char c = 0;
        std::uint64_t sum = 0;
        while (in.get(c))
            sum += static_cast<std::uint8_t>(c);
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

}  // namespace

BENCHMARK(BM_TFileStream_ReadByte)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_Ifstream_Get)->Unit(benchmark::kMillisecond)->Repetitions(5);

BENCHMARK_MAIN();
