// Helpers of the graphics tests: bitmaps as text pictures, and the committed pixel fixtures.
#pragma once

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "qorkit/rtl/bitmap.h"

namespace qorkit::test {

/// The bitmap as rows of characters: `legend` maps a pixel colour to its character, every
/// other colour shows as '?'.
inline std::string Picture(const TBitmap& b, const std::map<TColor, char>& legend) {
    std::string out;
    for (std::int32_t y = 0; y < b.Height(); ++y) {
        if (y > 0) out += '\n';
        for (const std::uint32_t px : b.ScanLine(y)) {
            const auto it = legend.find(static_cast<TColor>(px));
            out += it == legend.end() ? '?' : it->second;
        }
    }
    return out;
}

/// Reads a fixture of named pictures: a name line followed by `rows` picture rows; lines
/// starting with '#' before a name are comments.
inline std::map<std::string, std::string> ReadPictures(const std::string& file, int rows) {
    std::ifstream in(file);
    std::map<std::string, std::string> out;
    std::string name, row;
    while (std::getline(in, name)) {
        if (name.empty() || name[0] == '#') continue;
        std::string picture;
        for (int r = 0; r < rows && std::getline(in, row); ++r)
            picture += (r > 0 ? "\n" : "") + row;
        out[name] = picture;
    }
    return out;
}

}  // namespace qorkit::test
