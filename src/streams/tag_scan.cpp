#include "qorkit/streams/tag_scan.h"

#include "../core/tag_reader_core.h"
#include "byte_reader.h"

namespace qorkit {

namespace {

class StreamSource final : public detail::TagCharSource {
  public:
    explicit StreamSource(TStream& Stream) : FIn(Stream) {}
    bool Next(Char& C) override {
        const int b = FIn.Next();
        if (b < 0) return false;
        C = static_cast<Char>(b);
        return true;
    }
    void GiveBack() { FIn.GiveBack(); }

  private:
    detail::ByteReader FIn;
};

// Reads only while the file is not at its end, so the Ctrl-Z that ReadChar delivers there never
// enters a tag or an element.
class TextFileSource final : public detail::TagCharSource {
  public:
    explicit TextFileSource(TextFile& F) : FFile(F) {}
    bool Next(Char& C) override {
        if (FFile.Eof()) return false;
        C = FFile.ReadChar();
        return true;
    }

  private:
    TextFile& FFile;
};

std::int32_t ReadNextTag(detail::TagCharSource& Source, std::span<const String> TagList,
                         String& Attributes, String& ElementText, bool DropUnfinishedPiece) {
    Attributes.clear();
    ElementText.clear();
    detail::TagHead head = detail::ReadTagHead(Source);
    Attributes = std::move(head.Attributes);
    if (head.HasElement)
        ElementText = detail::ReadElementText(Source, head.Name, DropUnfinishedPiece);
    return detail::TagIndex(TagList, head.Name);
}

String LowerAZ(std::u16string_view S) {
    String r(S);
    for (Char& c : r)
        c = detail::LowerAZ(c);
    return r;
}

}  // namespace

std::int32_t ReadNextTagInStream(TStream& Stream, std::span<const String> TagList,
                                 String& Attributes, String& ElementText) {
    StreamSource source(Stream);
    const std::int32_t index = ReadNextTag(source, TagList, Attributes, ElementText, false);
    source.GiveBack();
    return index;
}

std::int32_t ReadNextTagInTextFile(TextFile& F, std::span<const String> TagList, String& Attributes,
                                   String& ElementText) {
    TextFileSource source(F);
    return ReadNextTag(source, TagList, Attributes, ElementText, true);
}

bool ScanStreamForXMLTag(TStream& Stream, const String& TagName, String& Attributes,
                         String& ElementText) {
    Attributes.clear();
    ElementText.clear();
    const String wanted = LowerAZ(TagName);
    StreamSource source(Stream);
    for (;;) {
        detail::TagHead head = detail::ReadTagHead(source);
        if (head.AtEnd) break;
        if (head.Name != wanted) continue;
        Attributes = std::move(head.Attributes);
        if (head.HasElement) ElementText = detail::ReadElementText(source, head.Name, false);
        source.GiveBack();
        return true;
    }
    source.GiveBack();
    return false;
}

String ReadStreamUntil(TStream& Stream, const String& SearchString, std::int32_t& Code) {
    Code = -1;
    const String wanted = LowerAZ(SearchString);
    const std::int64_t start = Stream.Position();
    String text;
    String lower;
    std::size_t hit = String::npos;
    std::uint8_t block[256];
    for (;;) {
        const std::int64_t n = Stream.Read(block, sizeof block);
        const std::size_t old = text.size();
        for (std::int64_t i = 0; i < n; ++i) {
            text.push_back(block[i]);
            lower.push_back(detail::LowerAZ(block[i]));
        }
        if (!wanted.empty()) {
            // Only the new bytes and the tail before them can hold a first occurrence.
            const std::size_t from = old >= wanted.size() ? old - wanted.size() + 1 : 0;
            hit = lower.find(wanted, from);
        }
        if (hit != String::npos || n < static_cast<std::int64_t>(sizeof block)) break;
    }
    if (hit != String::npos) {
        Code = 0;
        text.resize(hit + wanted.size());
        Stream.SetPosition(start + static_cast<std::int64_t>(text.size()));
    }
    return text;
}

String ReadStreamUntilTagList(TStream& Stream, std::span<const String> TagList,
                              std::int32_t& Index) {
    Index = -1;
    detail::ByteReader in(Stream);
    const std::int64_t start = Stream.Position();
    String text;
    std::size_t open = String::npos;  // index of the "<" whose name is being read
    auto match = [&](std::size_t end) {
        if (end == open + 1) return false;  // no name yet
        const String name = LowerAZ(std::u16string_view(text).substr(open + 1, end - open - 1));
        for (std::size_t i = 0; i < TagList.size(); ++i) {
            if (TagList[i] == name) {
                Index = static_cast<std::int32_t>(i);
                return true;
            }
        }
        return false;
    };
    for (;;) {
        const int b = in.Next();
        if (b < 0) {
            if (open != String::npos && match(text.size())) break;
            in.GiveBack();
            return text;
        }
        const auto c = static_cast<Char>(b);
        if (open != String::npos && (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' ||
                                     c == u'>' || (c == u'/' && text.size() > open + 1))) {
            if (match(text.size())) break;
            open = String::npos;
        }
        if (c == u'<') open = text.size();
        text.push_back(c);
    }
    in.GiveBack();
    text.resize(open);
    Stream.SetPosition(start + static_cast<std::int64_t>(open));
    return text;
}

}  // namespace qorkit
