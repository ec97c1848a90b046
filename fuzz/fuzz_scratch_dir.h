// A scratch directory for fuzz targets that go through files, removed at exit.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

/// The scratch directory of this process, named after `Tag`. Never destroyed, so that the exit
/// handler can still use it.
inline const std::filesystem::path& FuzzScratchDir(const char* Tag) {
    static const std::filesystem::path* dir = [Tag] {
        auto* p = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                            (std::string(Tag) + std::to_string(::getpid())));
        std::filesystem::create_directories(*p);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(*dir, ec);
        });
        return p;
    }();
    return *dir;
}
