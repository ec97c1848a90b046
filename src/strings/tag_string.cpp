#include "qorkit/strings/tag_string.h"

#include "../core/tag_reader_core.h"

namespace qorkit {

namespace {

// Characters of a string from a 0-based index on; remembers where the last tag started.
class StringSource final : public detail::TagCharSource {
  public:
    StringSource(const String& S, std::int32_t Pos)
        : FText(S), FIndex(Pos < 1 ? 0 : static_cast<std::size_t>(Pos) - 1) {}
    bool Next(Char& C) override {
        if (FIndex >= FText.size()) return false;
        C = FText[FIndex++];
        return true;
    }
    void MarkTagStart() override { FTagIndex = FIndex - 1; }

    /// The 1-based position of the next unread character.
    std::int32_t Pos() const {
        return static_cast<std::int32_t>(std::min(FIndex, FText.size()) + 1);
    }
    /// The 1-based position of the "<" of the last tag started.
    std::int32_t TagPos() const { return static_cast<std::int32_t>(FTagIndex + 1); }

  private:
    const String& FText;
    std::size_t FIndex;
    std::size_t FTagIndex = 0;
};

}  // namespace

std::int32_t ReadNextTagInString(const String& S, std::int32_t& Pos,
                                 std::span<const String> TagList, String& Attributes,
                                 String& ElementText) {
    Attributes.clear();
    ElementText.clear();
    StringSource source(S, Pos);
    detail::TagHead head = detail::ReadTagHead(source);
    Attributes = std::move(head.Attributes);
    if (head.HasElement) ElementText = detail::ReadElementText(source, head.Name, false);
    Pos = source.Pos();
    return detail::TagIndex(TagList, head.Name);
}

std::int32_t DetectNextTagInString(const String& S, std::int32_t& Pos, std::int32_t& TagPos,
                                   std::span<const String> TagList, String& Attributes,
                                   bool& IsStartTag) {
    StringSource source(S, Pos);
    detail::TagHead head = detail::ReadTagHead(source);
    Attributes = std::move(head.Attributes);
    IsStartTag = head.HasElement;
    TagPos = head.AtEnd ? 0 : source.TagPos();
    Pos = source.Pos();
    return detail::TagIndex(TagList, head.Name);
}

}  // namespace qorkit
