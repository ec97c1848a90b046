#include <string>
#include <utility>
#include <vector>

#include "../core/tag_reader_core.h"
#include "byte_reader.h"
#include "qorkit/streams/tag_scan.h"

namespace qorkit {

std::int32_t ExtractFromStream(TStream& Stream, TMemoryStream& Text, TStringList& Tags) {
    detail::ByteReader in(Stream);
    std::vector<std::uint8_t> pending;
    String tag;
    bool inTag = false;
    std::int32_t count = 0;
    auto flush = [&] {
        Text.WriteBuffer(pending.data(), static_cast<std::int64_t>(pending.size()));
        pending.clear();
    };
    for (int b = in.Next(); b >= 0; b = in.Next()) {
        if (inTag) {
            if (b == '>') {
                Tags.Add(tag);
                ++count;
                inTag = false;
            } else {
                tag.push_back(static_cast<Char>(b));
            }
        } else if (b == '<') {
            inTag = true;
            tag.clear();
        } else {
            pending.push_back(static_cast<std::uint8_t>(b));
            if (pending.size() >= 65536) flush();
        }
    }
    if (inTag) {
        Tags.Add(tag);
        ++count;
    }
    flush();
    return count;
}

namespace {

bool SameAt(const std::vector<std::uint8_t>& data, std::size_t at, const std::string& pattern,
            bool ignoreCase) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        Char a = data[at + i];
        Char b = static_cast<std::uint8_t>(pattern[i]);
        if (ignoreCase) {
            a = detail::LowerAZ(a);
            b = detail::LowerAZ(b);
        }
        if (a != b) return false;
    }
    return true;
}

// The replacement for one occurrence, with its modifiers resolved.
String ExpandReplacement(const String& replace, const String& brackets, const String& matched,
                         std::int32_t number, TSRUnknownModifierEvent onUnknown) {
    if (brackets.size() != 2) return replace;
    const Char open = brackets[0];
    const Char close = brackets[1];
    String out;
    std::size_t i = 0;
    while (i < replace.size()) {
        const std::size_t end = replace[i] == open ? replace.find(close, i + 1) : String::npos;
        if (end == String::npos) {
            out.push_back(replace[i++]);
            continue;
        }
        const String command = replace.substr(i + 1, end - i - 1);
        String lower = command;
        for (Char& c : lower)
            c = detail::LowerAZ(c);
        if (lower == u"match") {
            out += matched;
        } else if (lower == u"count") {
            for (const char d : std::to_string(number))
                out.push_back(static_cast<Char>(d));
        } else if (onUnknown != nullptr) {
            String sub = matched;
            onUnknown(command, sub);
            out += sub;
        } else {
            out.append(replace, i, end - i + 1);
        }
        i = end + 1;
    }
    return out;
}

}  // namespace

std::int32_t SearchAndReplace(TMemoryStream& Source, TMemoryStream& Target,
                              const String& SearchText, const String& ReplaceText, bool IgnoreCase,
                              std::int32_t FirstOccurrence, std::int32_t MaxReplacements,
                              const String& ModifierBrackets,
                              TSRUnknownModifierEvent OnUnknownModifier) {
    const auto* first = static_cast<const std::uint8_t*>(std::as_const(Source).Memory());
    const std::vector<std::uint8_t> data(first, first + Source.Size());
    Source.SetPosition(Source.Size());
    Target.Clear();
    std::string pattern;
    for (const Char c : SearchText)
        pattern.push_back(static_cast<char>(c & 0xFF));
    std::vector<std::uint8_t> out;
    out.reserve(data.size());
    std::int32_t seen = 0;
    std::int32_t replaced = 0;
    std::size_t i = 0;
    while (i < data.size()) {
        if (!pattern.empty() && data.size() - i >= pattern.size() &&
            (MaxReplacements <= 0 || replaced < MaxReplacements) &&
            SameAt(data, i, pattern, IgnoreCase)) {
            ++seen;
            if (seen >= FirstOccurrence) {
                ++replaced;
                const String matched(
                    data.begin() + static_cast<std::ptrdiff_t>(i),
                    data.begin() + static_cast<std::ptrdiff_t>(i + pattern.size()));
                const String repl = ExpandReplacement(ReplaceText, ModifierBrackets, matched,
                                                      replaced, OnUnknownModifier);
                for (const Char c : repl)
                    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
            } else {
                out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                           data.begin() + static_cast<std::ptrdiff_t>(i + pattern.size()));
            }
            i += pattern.size();
            continue;
        }
        out.push_back(data[i++]);
    }
    Target.WriteBuffer(out.data(), static_cast<std::int64_t>(out.size()));
    return replaced;
}

}  // namespace qorkit
