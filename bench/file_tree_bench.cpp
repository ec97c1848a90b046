// Folder walks and copies beside the familiar tools, in the same run: CountFiles over a tree
// of 100,000 files beside `find -type f | wc -l`, FileCopyFeedBk of one large file (without and
// with a progress callback) beside `cp`, and CopyFileTree of 10,000 small files beside
// `cp -r`. The file size is set with --copy-mib=N (default 256; 1024 for a 1 GiB file). Every
// file lives in a private temporary folder that is removed at exit.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "qorkit/filesys/file_copy.h"
#include "qorkit/filesys/file_scan.h"
#include "qorkit/filesys/file_tree_copy.h"

namespace {

namespace fs = std::filesystem;

std::int64_t gCopyMiB = 256;

void Shell(const std::string& command) {
    if (std::system(command.c_str()) != 0) std::abort();
}

// `folders` folders of `files` files of `bytes` bytes each below `root`.
void MakeTree(const fs::path& root, int folders, int files, std::size_t bytes) {
    const std::string content(bytes, 'q');
    for (int d = 0; d < folders; ++d) {
        const fs::path dir = root / ("dir" + std::to_string(d));
        fs::create_directories(dir);
        for (int f = 0; f < files; ++f)
            std::ofstream(dir / ("file" + std::to_string(f) + ".dat"), std::ios::binary) << content;
    }
}

class BenchFolder {
  public:
    BenchFolder() {
        std::string tmpl = (fs::temp_directory_path() / "qorkit-bench-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
        FDir = tmpl;
        MakeTree(FDir / "count", 100, 1000, 0);
        MakeTree(FDir / "small", 100, 100, 100);
        std::vector<char> block(1 << 20);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>(i * 2654435761u >> 24);
        std::ofstream big(Big(), std::ios::binary);
        for (std::int64_t i = 0; i < gCopyMiB; ++i)
            big.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    ~BenchFolder() {
        std::error_code ec;
        fs::remove_all(FDir, ec);
    }
    fs::path Dir() const { return FDir; }
    fs::path Big() const { return FDir / "big.bin"; }

  private:
    fs::path FDir;
};

const BenchFolder& Folder() {
    static const BenchFolder folder;
    return folder;
}

qorkit::String Name(const fs::path& p) {
    return qorkit::FromUtf8(p.string());
}

void BM_CountFiles_100k(benchmark::State& state) {
    const qorkit::String mask = Name(Folder().Dir() / "count" / "*.*");
    for (auto _ : state)
        if (qorkit::CountFiles64(mask, true, nullptr) != 100000) std::abort();
}

void BM_FindWcL_100k(benchmark::State& state) {
    const std::string command =
        "test $(find '" + (Folder().Dir() / "count").string() + "' -type f | wc -l) = 100000";
    for (auto _ : state)
        Shell(command);
}

void RemoveCopy(benchmark::State& state, const fs::path& p) {
    state.PauseTiming();
    fs::remove_all(p);
    state.ResumeTiming();
}

void Progress(std::int32_t, std::int32_t) {}

void CopyBig(benchmark::State& state, qorkit::TFileCopyFeedBack feedback) {
    const fs::path out = Folder().Dir() / "big-copy.bin";
    for (auto _ : state) {
        RemoveCopy(state, out);
        if (qorkit::FileCopyFeedBk(Name(Folder().Big()), Name(out), false, feedback) != 0)
            std::abort();
    }
    state.SetBytesProcessed(state.iterations() * (gCopyMiB << 20));
}

void BM_FileCopyFeedBk(benchmark::State& state) {
    CopyBig(state, nullptr);
}
void BM_FileCopyFeedBk_Callback(benchmark::State& state) {
    CopyBig(state, Progress);
}

void BM_Cp(benchmark::State& state) {
    const fs::path out = Folder().Dir() / "big-copy.bin";
    const std::string command = "cp '" + Folder().Big().string() + "' '" + out.string() + "'";
    for (auto _ : state) {
        RemoveCopy(state, out);
        Shell(command);
    }
    state.SetBytesProcessed(state.iterations() * (gCopyMiB << 20));
}

void BM_CopyFileTree_10k(benchmark::State& state) {
    const fs::path out = Folder().Dir() / "small-copy";
    for (auto _ : state) {
        RemoveCopy(state, out);
        if (qorkit::CopyFileTree(Name(Folder().Dir() / "small"), Name(out), false, nullptr) != 0)
            std::abort();
    }
}

void BM_CpR_10k(benchmark::State& state) {
    const fs::path out = Folder().Dir() / "small-copy";
    const std::string command =
        "cp -r '" + (Folder().Dir() / "small").string() + "' '" + out.string() + "'";
    for (auto _ : state) {
        RemoveCopy(state, out);
        Shell(command);
    }
}

}  // namespace

BENCHMARK(BM_CountFiles_100k)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FindWcL_100k)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FileCopyFeedBk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FileCopyFeedBk_Callback)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Cp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopyFileTree_10k)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CpR_10k)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    // Our own option first: --copy-mib=N sets the size of the large file.
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--copy-mib=", 11) == 0) {
            gCopyMiB = std::strtoll(argv[i] + 11, nullptr, 10);
            if (gCopyMiB < 1 || gCopyMiB > 65536) {
                std::fprintf(stderr, "--copy-mib must be 1..65536\n");
                return 2;
            }
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Folder();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
