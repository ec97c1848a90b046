// UU coding of strings.
#include "qorkit/strings/uu_coding.h"

#include <algorithm>
#include <string>

#include "qorkit/core/errors.h"

namespace qorkit {

namespace {

constexpr std::size_t kBytesPerLine = 45;

Char EncodeSix(unsigned v) noexcept {
    v &= 0x3F;
    return v == 0 ? u'`' : static_cast<Char>(v + 32);
}

[[noreturn]] void Malformed(std::size_t line, const char* what) {
    throw EQORStringlError("UUDecodeStr: malformed input in line " + std::to_string(line) + ": " +
                           what);
}

// The six-bit value of an encoded character, or -1 when it is not one.
int DecodeSix(Char c) noexcept {
    return c >= 32 && c <= 96 ? (c - 32) & 0x3F : -1;
}

// Splits `s` into lines at LF, dropping one CR before it; a final line without LF counts.
class LineReader {
  public:
    explicit LineReader(std::u16string_view s) : FText(s) {}
    bool Next(std::u16string_view& line) {
        if (FPos >= FText.size()) return false;
        std::size_t end = FText.find(u'\n', FPos);
        if (end == std::u16string_view::npos) end = FText.size();
        line = FText.substr(FPos, end - FPos);
        if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
        FPos = end + 1;
        ++FLine;
        return true;
    }
    std::size_t LineNo() const noexcept { return FLine; }

  private:
    std::u16string_view FText;
    std::size_t FPos = 0;
    std::size_t FLine = 0;
};

bool StartsWith(std::u16string_view s, std::u16string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

}  // namespace

String UUEncodeStr(std::u16string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i] > 255)
            throw EQORStringlError("UUEncodeStr: character above 255 at position " +
                                   std::to_string(i + 1));
    String out = u"begin 644 data\n";
    out.reserve(out.size() + (s.size() + kBytesPerLine - 1) / kBytesPerLine * 62 + 8);
    for (std::size_t at = 0; at < s.size(); at += kBytesPerLine) {
        const std::size_t n = std::min(kBytesPerLine, s.size() - at);
        out += EncodeSix(static_cast<unsigned>(n));
        for (std::size_t i = 0; i < n; i += 3) {
            const unsigned b0 = s[at + i];
            const unsigned b1 = i + 1 < n ? s[at + i + 1] : 0;
            const unsigned b2 = i + 2 < n ? s[at + i + 2] : 0;
            out += EncodeSix(b0 >> 2);
            out += EncodeSix((b0 << 4) | (b1 >> 4));
            out += EncodeSix((b1 << 2) | (b2 >> 6));
            out += EncodeSix(b2);
        }
        out += u'\n';
    }
    out += u"`\nend\n";
    return out;
}

String UUDecodeStr(std::u16string_view s) {
    LineReader lines(s);
    std::u16string_view line;
    // With a "begin" line anywhere, everything before it is skipped; otherwise the text is
    // taken as bare data lines from its start.
    bool framed = false;
    {
        LineReader probe(s);
        std::u16string_view l;
        while (probe.Next(l))
            if (StartsWith(l, u"begin ")) {
                framed = true;
                break;
            }
        if (framed)
            while (lines.Next(line) && !StartsWith(line, u"begin ")) {
            }
    }
    String out;
    bool terminated = false;
    bool any = false;
    while (lines.Next(line)) {
        if (terminated) {
            if (line.empty() || line == u"end") continue;
            Malformed(lines.LineNo(), "text after the end of the data");
        }
        if (line.empty()) {
            // Bare data may end with an empty line (a trailing line feed).
            if (!framed) {
                terminated = true;
                continue;
            }
            Malformed(lines.LineNo(), "empty line inside the data");
        }
        if (framed && line == u"end") {
            terminated = true;
            continue;
        }
        any = true;
        const int n = DecodeSix(line[0]);
        if (n < 0) Malformed(lines.LineNo(), "invalid length character");
        if (n == 0) {
            terminated = true;
            continue;
        }
        const std::size_t need = 1 + (static_cast<std::size_t>(n) + 2) / 3 * 4;
        if (line.size() < need) Malformed(lines.LineNo(), "line shorter than its length");
        int got = 0;
        for (std::size_t i = 1; got < n; i += 4) {
            int v[4];
            for (std::size_t k = 0; k < 4; ++k) {
                v[k] = DecodeSix(line[i + k]);
                if (v[k] < 0) Malformed(lines.LineNo(), "invalid character");
            }
            const Char bytes[3] = {static_cast<Char>(((v[0] << 2) | (v[1] >> 4)) & 0xFF),
                                   static_cast<Char>(((v[1] << 4) | (v[2] >> 2)) & 0xFF),
                                   static_cast<Char>(((v[2] << 6) | v[3]) & 0xFF)};
            for (int k = 0; k < 3 && got < n; ++k, ++got)
                out += bytes[k];
        }
    }
    if (framed && !any) Malformed(lines.LineNo(), "no data line after \"begin\"");
    if (framed && !terminated) Malformed(lines.LineNo(), "the data has no end");
    return out;
}

}  // namespace qorkit
