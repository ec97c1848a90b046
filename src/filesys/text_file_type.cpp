// Byte-order marks and the RTF signature.
#include "qorkit/filesys/text_file_type.h"

#include <algorithm>
#include <array>

#include "qorkit/rtl/untyped_file.h"

namespace qorkit {

TTextfileType TextTypeOfHead(std::span<const std::uint8_t> Head) noexcept {
    std::array<std::uint8_t, 4> b{};
    std::copy_n(Head.begin(), std::min<std::size_t>(Head.size(), 4), b.begin());
    if (b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) return tftUTF8;
    if (b[0] == 0xFF && b[1] == 0xFE && b[2] == 0 && b[3] == 0) return tftUnicode4_le;
    if (b[0] == 0 && b[1] == 0 && b[2] == 0xFE && b[3] == 0xFF) return tftUnicode4_be;
    if (b[0] == 0xFF && b[1] == 0xFE) return tftUnicode_le;
    if (b[0] == 0xFE && b[1] == 0xFF) return tftUnicode_be;
    if (b[0] == '{' && b[1] == '\\' && b[2] == 'r') return tftRTF;
    return tftUnknown;
}

TTextfileType CheckTextFileType(const String& FileName) {
    TUntypedFile f;
    f.Assign(FileName);
    f.Reset();
    std::array<std::uint8_t, 4> head{};
    std::int64_t got = 0;
    f.BlockRead(head.data(), 4, got);
    f.Close();
    return TextTypeOfHead(head);
}

}  // namespace qorkit
