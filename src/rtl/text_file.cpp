#include "qorkit/rtl/text_file.h"

#include <fcntl.h>

#include <cstring>
#include <string>

#include "file_var.h"
#include "qorkit/rtl/codepage.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

using detail::BufferedFd;
using detail::FileAccess;
using detail::FileVar;

namespace {

bool IsSeparator(int c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The next byte without consuming it; -1 at the end of the file.
int Peek(FileVar& v, BufferedFd& io) {
    const std::int64_t avail = io.Fill(1);
    if (avail < 0) v.FailRead();
    return avail == 0 ? -1 : *io.Data();
}

// Reads one whitespace-delimited decimal integer in [lo, hi]; see TextFile::ReadInteger.
std::int64_t ReadNumber(FileVar& v, std::int64_t lo, std::int64_t hi) {
    BufferedFd& io = v.RequireInput();
    int c = Peek(v, io);
    while (c >= 0 && IsSeparator(c)) {
        io.Advance(1);
        c = Peek(v, io);
    }
    if (c < 0) v.FailPastEnd();

    // The whole token is consumed even when it is malformed, so that reading can go on after
    // the error; only its start is kept for the message.
    constexpr std::size_t kKept = 40;
    std::string token;
    bool truncated = false;
    while (c >= 0 && !IsSeparator(c)) {
        if (token.size() < kKept) {
            token += static_cast<char>(c);
        } else {
            truncated = true;
        }
        io.Advance(1);
        c = Peek(v, io);
    }

    const bool negative = token[0] == '-';
    const std::size_t first = (token[0] == '-' || token[0] == '+') ? 1 : 0;
    const std::uint64_t limit =
        negative ? static_cast<std::uint64_t>(-(lo + 1)) + 1 : static_cast<std::uint64_t>(hi);
    std::uint64_t magnitude = 0;
    bool valid = !truncated && token.size() > first;
    for (std::size_t i = first; valid && i < token.size(); ++i) {
        const char d = token[i];
        if (d < '0' || d > '9') {
            valid = false;
            break;
        }
        const auto digit = static_cast<std::uint64_t>(d - '0');
        if (magnitude > (limit - digit) / 10) {
            valid = false;
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    if (!valid) {
        v.Fail(106, u"Invalid numeric format \"" + Win1252ToString(token) +
                        (truncated ? u"...\"" : u"\"") + u" in file " + v.QuotedName());
    }
    // Negate in unsigned arithmetic: the magnitude of the lowest value has no signed form.
    return negative ? static_cast<std::int64_t>(0 - magnitude)
                    : static_cast<std::int64_t>(magnitude);
}

// Writes `n` bytes to an output file.
void Put(FileVar& v, const char* p, std::size_t n) {
    BufferedFd& io = v.RequireOutput();
    if (!io.Write(p, static_cast<std::int64_t>(n))) v.FailWrite();
}

}  // namespace

void TextFile::Reset() {
    Var().Open(O_RDONLY, FileAccess::Input, false, false);
}

void TextFile::Rewrite() {
    Var().Open(O_WRONLY | O_CREAT | O_TRUNC, FileAccess::Output, true, false);
}

void TextFile::Append() {
    Var().Open(O_WRONLY, FileAccess::Output, false, true);
}

bool TextFile::Eof() {
    FileVar& v = Var();
    return Peek(v, v.RequireInput()) < 0;
}

bool TextFile::Eoln() {
    FileVar& v = Var();
    BufferedFd& io = v.RequireInput();
    const std::int64_t avail = io.Fill(2);
    if (avail < 0) v.FailRead();
    if (avail == 0) return true;
    const std::uint8_t* p = io.Data();
    return p[0] == '\n' || (p[0] == '\r' && avail >= 2 && p[1] == '\n');
}

String TextFile::ReadLn() {
    String line;
    ReadLn(line);
    return line;
}

void TextFile::ReadLn(String& Line) {
    FileVar& v = Var();
    BufferedFd& io = v.RequireInput();
    Line.clear();
    bool ended = false;
    const auto append = [&Line](const char* p, std::size_t n) {
        const std::size_t at = Line.size();
        Line.resize(at + n);
        Char* out = Line.data() + at;
        for (std::size_t i = 0; i < n; ++i) {
            const auto b = static_cast<std::uint8_t>(p[i]);
            out[i] = b < 0x80 ? static_cast<Char>(b) : Win1252ToChar(b);
        }
    };
    for (;;) {
        const std::int64_t avail = io.Fill(1);
        if (avail < 0) v.FailRead();
        if (avail == 0) break;
        const auto* p = reinterpret_cast<const char*>(io.Data());
        const auto n = static_cast<std::size_t>(avail);
        const auto* lf = static_cast<const char*>(std::memchr(p, '\n', n));
        if (lf != nullptr) {
            append(p, static_cast<std::size_t>(lf - p));
            io.Advance(static_cast<std::size_t>(lf - p) + 1);
            ended = true;
            break;
        }
        append(p, n);
        io.Advance(n);
    }
    if (ended && !Line.empty() && Line.back() == u'\r') Line.pop_back();
}

Char TextFile::ReadChar() {
    FileVar& v = Var();
    const int c = v.RequireInput().Get();
    if (c == -2) v.FailRead();
    return c < 0 ? Char(26) : Win1252ToChar(static_cast<std::uint8_t>(c));
}

std::int32_t TextFile::ReadInteger() {
    return static_cast<std::int32_t>(ReadNumber(Var(), INT32_MIN, INT32_MAX));
}

std::int64_t TextFile::ReadInt64() {
    return ReadNumber(Var(), INT64_MIN, INT64_MAX);
}

void TextFile::Write(const String& S) {
    const AnsiString bytes = StringToWin1252(S);
    Put(Var(), bytes.data(), bytes.size());
}

void TextFile::Write(std::int64_t Value, std::int32_t Width) {
    std::string text = std::to_string(Value);
    if (Width > 0 && text.size() < static_cast<std::size_t>(Width))
        text.insert(0, static_cast<std::size_t>(Width) - text.size(), ' ');
    Put(Var(), text.data(), text.size());
}

void TextFile::Write(long double X, std::int32_t Width, std::int32_t Decimals) {
    Write(StrReal(X, Width, Decimals));
}

void TextFile::WriteLn() {
    Put(Var(), "\r\n", 2);
}

void TextFile::WriteLn(const String& S) {
    AnsiString bytes = StringToWin1252(S);
    bytes += "\r\n";
    Put(Var(), bytes.data(), bytes.size());
}

void TextFile::Flush() {
    FileVar& v = Var();
    if (!v.RequireOutput().Flush()) v.FailWrite();
}

}  // namespace qorkit
