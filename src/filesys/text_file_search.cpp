// Reading words from text files and searching text files for a string.
#include <cstdint>

#include "qorkit/filesys/text_file_tools.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

namespace {

// Opens `FileName` for reading; the destructor closes it when a read raises.
void OpenForReading(TextFile& F, const String& FileName) {
    F.Assign(FileName);
    F.Reset();
}

}  // namespace

String ReadNextWordInTextFile(TextFile& F) {
    String word;
    while (!F.Eof()) {
        const Char c = F.ReadChar();
        if (c > 32) {
            word += c;
            break;
        }
    }
    if (word.empty()) return word;
    while (!F.Eof()) {
        const Char c = F.ReadChar();
        if (c <= 32) break;
        word += c;
    }
    return word;
}

std::int32_t DetectStringInFile(const String& FileName, const String& Text, bool IgnoreCase,
                                std::int32_t MaxChars) {
    const String text = IgnoreCase ? LowerCase(Text) : Text;
    TextFile f;
    OpenForReading(f, FileName);
    std::int64_t count = 0;  // may pass the 32-bit range before the loop sees it
    bool found = false;
    while (!found && count < MaxChars && !f.Eof()) {
        const String line = IgnoreCase ? LowerCase(f.ReadLn()) : f.ReadLn();
        const std::int32_t p = Pos(text, line);
        if (p > 0) {
            count += p;
            found = count <= MaxChars;
        } else {
            count += static_cast<std::int64_t>(line.size());
        }
    }
    f.Close();
    return found ? static_cast<std::int32_t>(count) : 0;
}

std::int32_t FindFirstMatchInTextFile(const String& FileName, const String& Text, bool IgnoreCase,
                                      String& Line) {
    const String text = IgnoreCase ? AnsiLowerCase(Text) : Text;
    TextFile f;
    OpenForReading(f, FileName);
    Line.clear();
    std::int32_t result = 0;
    while (result == 0 && !f.Eof()) {
        String line = f.ReadLn();
        result = IgnoreCase ? Pos(text, AnsiLowerCase(line)) : Pos(text, line);
        if (result > 0) Line = std::move(line);
    }
    f.Close();
    return result;
}

}  // namespace qorkit
