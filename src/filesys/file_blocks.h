// Reading a whole file in large blocks through the untyped file (EInOutError on failure).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "qorkit/rtl/untyped_file.h"

namespace qorkit::detail {

/// Block size of the whole-file readers and writers.
inline constexpr std::int64_t kFileBlock = 1 << 17;

/// Calls `sink(std::string_view)` for each block of the file `FileName`, from its start.
template <class Sink>
void ForEachFileBlock(const String& FileName, Sink&& sink) {
    TUntypedFile f;
    f.Assign(FileName);
    f.Reset();
    std::vector<char> block(static_cast<std::size_t>(kFileBlock));
    for (;;) {
        std::int64_t got = 0;
        f.BlockRead(block.data(), kFileBlock, got);
        if (got <= 0) break;
        sink(std::string_view(block.data(), static_cast<std::size_t>(got)));
    }
    f.Close();
}

}  // namespace qorkit::detail
