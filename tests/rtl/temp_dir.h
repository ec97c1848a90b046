// A scratch directory for file tests, removed with everything in it at the end of the test.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "qorkit/rtl/system.h"

namespace qorkit::test {

class TempDir {
  public:
    TempDir() {
        static std::atomic<unsigned> counter{0};
        const auto base = std::filesystem::temp_directory_path();
        for (;;) {
            FPath = base /
                    ("qorkit-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
            if (std::filesystem::create_directory(FPath)) break;
        }
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(FPath, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    /// Native path of `name` inside the directory.
    std::string Native(const std::string& name) const { return (FPath / name).string(); }
    /// The same as a library file name.
    String Name(const std::string& name) const { return FromUtf8(Native(name)); }

    /// Creates `name` with exactly `bytes`.
    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream out(Native(name), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    /// The bytes of `name`, read independently of the library.
    std::string Get(const std::string& name) const {
        std::ifstream in(Native(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(FPath / name); }

  private:
    std::filesystem::path FPath;
};

}  // namespace qorkit::test
