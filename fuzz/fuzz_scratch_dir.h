// A scratch directory for fuzz targets that go through files, removed at exit, and a writer
// for the inputs placed there.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

/// The scratch directory of this process, "qorkit-fuzz-<tag>-<pid>" in the temporary folder,
/// made on first use. Never destroyed, so that the exit handler can still use it; the first
/// call's `tag` names it.
inline const std::filesystem::path& FuzzScratchDir(const char* tag) {
    static const std::filesystem::path* dir = [tag] {
        auto* p = new std::filesystem::path(
            std::filesystem::temp_directory_path() /
            ("qorkit-fuzz-" + std::string(tag) + "-" + std::to_string(::getpid())));
        std::filesystem::create_directories(*p);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(*dir, ec);
        });
        return p;
    }();
    return *dir;
}

/// Replaces the file `path` with exactly `bytes`; aborts when that fails.
inline void FuzzWriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f) std::abort();
}
