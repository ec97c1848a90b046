// Splitting and expanding file names.
#include "qorkit/rtl/file_paths.h"

#include <unistd.h>

#include <string>
#include <vector>

namespace qorkit {

namespace {

constexpr bool IsDelim(Char c) {
    return c == u'\\' || c == u'/' || c == u':';
}

// Index just past the last separator or colon, 0 when there is none.
std::size_t NameStart(std::u16string_view s) {
    for (std::size_t i = s.size(); i > 0; --i)
        if (IsDelim(s[i - 1])) return i;
    return 0;
}

String CurrentFolder() {
    std::string buf(4096, '\0');
    while (::getcwd(buf.data(), buf.size()) == nullptr) {
        if (buf.size() > (1u << 20)) return u"/";  // no usable current folder
        buf.resize(buf.size() * 2);
    }
    return FromUtf8(buf.c_str());
}

}  // namespace

String ExtractFilePath(std::u16string_view FileName) {
    return String(FileName.substr(0, NameStart(FileName)));
}

String ExtractFileName(std::u16string_view FileName) {
    return String(FileName.substr(NameStart(FileName)));
}

String ExtractFileExt(std::u16string_view FileName) {
    const std::u16string_view name = FileName.substr(NameStart(FileName));
    const std::size_t dot = name.rfind(u'.');
    return dot == std::u16string_view::npos ? String() : String(name.substr(dot));
}

String ExpandFileName(std::u16string_view FileName) {
    if (FileName.empty()) return String();
    String full(FileName);
    for (Char& c : full)
        if (c == u'\\') c = PathDelim;
    if (full.front() != PathDelim) full = CurrentFolder() + PathDelim + full;
    const bool trailing = full.back() == PathDelim;

    std::vector<std::u16string_view> parts;
    const std::u16string_view view(full);
    std::size_t start = 0;
    while (start <= view.size()) {
        std::size_t end = view.find(PathDelim, start);
        if (end == std::u16string_view::npos) end = view.size();
        const std::u16string_view part = view.substr(start, end - start);
        if (part == u"..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != u".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    String result;
    for (const std::u16string_view part : parts) {
        result += PathDelim;
        result += part;
    }
    if (result.empty() || trailing) result += PathDelim;
    return result;
}

}  // namespace qorkit
