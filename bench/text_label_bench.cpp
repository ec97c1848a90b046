// Text-label files beside plain stream I/O, in the same run: a label written with
// WriteToOpenXMLFile and read back by its id through a text file in a private temporary
// folder, beside writing the same bytes with std::ofstream and reading them back line by line
// with std::getline.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "qorkit/graphics/text_label.h"

namespace {

using namespace qorkit;

class BenchFolder {
  public:
    BenchFolder() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "qorkit-bench-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
        FDir = tmpl;
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(FDir, ec);
    }
    std::filesystem::path File(const char* name) const { return FDir / name; }

  private:
    std::filesystem::path FDir;
};

const BenchFolder& Folder() {
    static const BenchFolder folder;
    return folder;
}

void Prepare(TCustomTextLabel& l) {
    l.SetTxtLblCaption(u"Maximum at 12.5 s\nsecond line");
    l.SetTxtLblPosX(12.5);
    l.SetTxtLblPosY(-3.25);
    l.SetTxtLblMode(tlShadow);
    l.Font().SetStyle({fsBold, fsItalic});
}

void WriteLabel(const TCustomTextLabel& l, const String& name) {
    TextFile f;
    f.Assign(name);
    f.Rewrite();
    l.WriteToOpenXMLFile(f, true, u"bench", 2);
    f.Close();
}

void BM_LabelWriteRead(benchmark::State& state) {
    const String name = FromUtf8(Folder().File("label.xml").string());
    TCustomTextLabel l;
    Prepare(l);
    TCustomTextLabel back;
    for (auto _ : state) {
        WriteLabel(l, name);
        TextFile f;
        f.Assign(name);
        f.Reset();
        if (!back.ReadFromOpenXMLFile(f, u"BENCH")) state.SkipWithError("label not found");
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_OfstreamGetline(benchmark::State& state) {
    // The very bytes of the label file.
    const std::filesystem::path labelFile = Folder().File("peer-source.xml");
    TCustomTextLabel l;
    Prepare(l);
    WriteLabel(l, FromUtf8(labelFile.string()));
    std::ifstream src(labelFile, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(src)),
                            std::istreambuf_iterator<char>());
    const std::filesystem::path path = Folder().File("peer.xml");
    std::string line;
    for (auto _ : state) {
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        std::ifstream in(path, std::ios::binary);
        std::size_t lines = 0;
        while (std::getline(in, line))
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_LabelWriteRead);
BENCHMARK(BM_OfstreamGetline);

}  // namespace

BENCHMARK_MAIN();
