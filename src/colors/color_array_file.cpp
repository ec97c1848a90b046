// The colour-array text format: a header line "first last", then one line of 8 hexadecimal
// digits per colour.
#include <cstdint>
#include <exception>
#include <utility>
#include <vector>

#include "color_detail.h"
#include "qorkit/colors/color_array.h"
#include "qorkit/rtl/atomic_save.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

namespace {

// A colour line: leading blanks skipped, a "$" in the first column skipped, then the
// hexadecimal digits up to the first other character.
TColor ParseColorLine(const String& line) {
    std::size_t pos = 0;
    while (pos < line.size() && line[pos] == u' ')
        ++pos;
    if (pos == 0 && !line.empty() && line[0] == u'$') pos = 1;
    return static_cast<TColor>(detail::AccumulateHex(line, pos));
}

}  // namespace

void TColorArray::WriteColors(TextFile& F, std::int32_t FirstElem, std::int32_t LastElem) const {
    if (LastElem < FirstElem) std::swap(FirstElem, LastElem);
    FirstElem = std::max(FirstElem, 1);
    LastElem = std::min(LastElem, FNColors);
    F.WriteLn(IntToStr(FirstElem) + u" " + IntToStr(LastElem));
    for (std::int32_t ix = FirstElem; ix <= LastElem; ++ix)
        F.WriteLn(IntToHex(FColArray[static_cast<std::size_t>(ix - 1)], 8));
}

bool TColorArray::WriteToOpenTextFile(TextFile& F, std::int32_t FirstElem, std::int32_t LastElem) {
    try {
        WriteColors(F, FirstElem, LastElem);
        F.Flush();  // the buffered text must reach the system for the result to mean anything
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TColorArray::StoreOnFile(std::int32_t FirstElem, std::int32_t LastElem,
                              const String& FileName) {
    try {
        SaveTextFileAtomically(FileName, [&](TextFile& F) { WriteColors(F, FirstElem, LastElem); });
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TColorArray::ReadFromOpenTextFile(TextFile& F, bool AdjustSize) {
    std::int32_t first = 0, last = 0;
    try {
        first = F.ReadInteger();
        last = F.ReadInteger();
        F.ReadLn();
    } catch (const std::exception&) {
        return false;  // an unreadable header changes nothing and notifies nothing
    }
    // With AdjustSize the size becomes the last index (Resize ignores one below 1), but a file
    // may not demand more than kMaxFileSize colours.
    std::int32_t size = FNColors;
    if (AdjustSize && last >= 1 && (last <= kMaxFileSize || last <= FNColors)) size = last;
    if (last > size) {
        Changed();
        return false;
    }
    // Every line is read before anything is stored, so that a file that ends or fails early
    // leaves the array as it was.
    std::vector<TColor> colors;
    try {
        for (std::int64_t ix = first; ix <= last; ++ix) {
            if (F.Eof()) return false;
            colors.push_back(ParseColorLine(F.ReadLn()));
        }
    } catch (const std::exception&) {
        return false;
    }
    try {
        if (AdjustSize) Resize(size);
    } catch (const std::exception&) {
        return false;
    }
    for (std::int64_t ix = first; ix <= last; ++ix)
        SetColorElem(static_cast<std::int32_t>(ix), colors[static_cast<std::size_t>(ix - first)]);
    Changed();
    return true;
}

bool TColorArray::LoadFromFile(const String& FileName, bool AdjustSize) {
    try {
        TextFile F;
        F.Assign(FileName);
        F.Reset();
        const bool ok = ReadFromOpenTextFile(F, AdjustSize);
        F.Close();
        return ok;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace qorkit
