#include "qorkit/rtl/string_list.h"

#include <algorithm>
#include <array>
#include <exception>
#include <limits>
#include <new>
#include <utility>

#include "qorkit/rtl/codepage.h"
#include "qorkit/rtl/file_stream.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

namespace {

constexpr std::size_t kMaxItems =
    static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());

Char FoldAZ(Char c) noexcept {
    return (c >= u'a' && c <= u'z') ? static_cast<Char>(c - (u'a' - u'A')) : c;
}

[[noreturn]] void OutOfMemory() {
    throw EStringListError(u"Out of memory in string list");
}

// Splits `text` into lines at CR LF, LF or CR; a final line end adds no empty line.
std::vector<String> SplitLines(const String& text) {
    std::vector<String> lines;
    std::size_t start = 0;
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const Char c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.emplace_back(text, start, i - start);
            i += (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n) lines.emplace_back(text, start, n - start);
    return lines;
}

// Holds back notifications for the life of the guard, also when an exception leaves.
class UpdateGuard {
  public:
    explicit UpdateGuard(TStringList& list) noexcept : FList(list) { FList.BeginUpdate(); }
    ~UpdateGuard() noexcept(false) {
        // The handler still runs while an exception is on its way; should it raise too, its
        // exception is dropped, as a second one in flight would terminate the program.
        if (std::uncaught_exceptions() > FExceptions) {
            try {
                FList.EndUpdate();
            } catch (...) {
            }
        } else {
            FList.EndUpdate();
        }
    }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

  private:
    TStringList& FList;
    int FExceptions = std::uncaught_exceptions();
};

}  // namespace

TStringList::TStringList(const TStringList& Other)
    : TPersistent(Other),
      FItems(Other.FItems),
      FSorted(Other.FSorted),
      FCaseSensitive(Other.FCaseSensitive),
      FDuplicates(Other.FDuplicates) {}

TStringList& TStringList::operator=(const TStringList& Other) {
    if (this != &Other) {
        CopyFrom(Other);
        Changed();
    }
    return *this;
}

void TStringList::CopyFrom(const TStringList& Other) {
    try {
        FItems = Other.FItems;
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    FSorted = Other.FSorted;
    FCaseSensitive = Other.FCaseSensitive;
    FDuplicates = Other.FDuplicates;
}

int TStringList::Compare(const String& A, const String& B) const noexcept {
    const std::size_t n = std::min(A.size(), B.size());
    for (std::size_t i = 0; i < n; ++i) {
        const Char a = FCaseSensitive ? A[i] : FoldAZ(A[i]);
        const Char b = FCaseSensitive ? B[i] : FoldAZ(B[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    if (A.size() == B.size()) return 0;
    return A.size() < B.size() ? -1 : 1;
}

void TStringList::CheckIndex(std::int32_t Index) const {
    if (Index < 0 || Index >= Count())
        throw EStringListError(u"List index out of bounds (" + IntToStr(Index) + u")");
}

void TStringList::CheckUnsorted() const {
    if (FSorted) throw EStringListError(u"Operation not allowed on sorted list");
}

void TStringList::Changed() {
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    if (FOnChange) FOnChange(this);
}

void TStringList::EndUpdate() {
    if (FUpdateCount == 0) return;
    if (--FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        if (FOnChange) FOnChange(this);
    }
}

void TStringList::SortItems() {
    try {
        std::stable_sort(FItems.begin(), FItems.end(),
                         [this](const String& a, const String& b) { return Compare(a, b) < 0; });
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
}

std::int32_t TStringList::AddNoNotify(const String& S) {
    if (FItems.size() >= kMaxItems)
        throw EStringListError(u"String list is full (" + IntToStr(Count()) + u" strings)");
    std::int32_t at = Count();
    if (FSorted) {
        if (Find(S, at)) {
            if (FDuplicates == dupIgnore) return at;
            if (FDuplicates == dupError)
                throw EStringListError(u"String list does not allow duplicates ('" + S + u"')");
        }
    }
    try {
        FItems.insert(FItems.begin() + at, S);
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    return at;
}

std::int32_t TStringList::Add(const String& S) {
    const std::int32_t before = Count();
    const std::int32_t at = AddNoNotify(S);
    if (Count() != before) Changed();
    return at;
}

void TStringList::AddStrings(const TStringList& Source) {
    // Adding a list to itself: work from a snapshot.
    const std::vector<String> items = &Source == this ? FItems : std::vector<String>();
    const std::vector<String>& from = &Source == this ? items : Source.FItems;
    UpdateGuard guard(*this);
    for (const String& s : from) {
        const std::int32_t before = Count();
        AddNoNotify(s);
        if (Count() != before) Changed();
    }
}

void TStringList::Insert(std::int32_t Index, const String& S) {
    CheckUnsorted();
    if (Index < 0 || Index > Count())
        throw EStringListError(u"List index out of bounds (" + IntToStr(Index) + u")");
    if (FItems.size() >= kMaxItems)
        throw EStringListError(u"String list is full (" + IntToStr(Count()) + u" strings)");
    try {
        FItems.insert(FItems.begin() + Index, S);
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    Changed();
}

void TStringList::Delete(std::int32_t Index) {
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void TStringList::Clear() {
    if (FItems.empty()) return;
    FItems.clear();
    Changed();
}

const String& TStringList::Strings(std::int32_t Index) const {
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

void TStringList::SetStrings(std::int32_t Index, const String& S) {
    CheckUnsorted();
    CheckIndex(Index);
    FItems[static_cast<std::size_t>(Index)] = S;
    Changed();
}

std::int32_t TStringList::IndexOf(const String& S) const {
    std::int32_t at = 0;
    return Find(S, at) ? at : -1;
}

bool TStringList::Find(const String& S, std::int32_t& Index) const {
    if (!FSorted) {
        for (std::size_t i = 0; i < FItems.size(); ++i) {
            if (Compare(FItems[i], S) == 0) {
                Index = static_cast<std::int32_t>(i);
                return true;
            }
        }
        Index = Count();
        return false;
    }
    const auto it = std::lower_bound(
        FItems.begin(), FItems.end(), S,
        [this](const String& item, const String& key) { return Compare(item, key) < 0; });
    Index = static_cast<std::int32_t>(it - FItems.begin());
    return it != FItems.end() && Compare(*it, S) == 0;
}

void TStringList::Sort() {
    SortItems();
    Changed();
}

void TStringList::SetSorted(bool Value) {
    if (Value == FSorted) return;
    FSorted = Value;
    if (Value) Sort();
}

void TStringList::SetCaseSensitive(bool Value) {
    if (Value == FCaseSensitive) return;
    FCaseSensitive = Value;
    if (FSorted) Sort();
}

void TStringList::Exchange(std::int32_t Index1, std::int32_t Index2) {
    CheckUnsorted();
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FItems[static_cast<std::size_t>(Index1)], FItems[static_cast<std::size_t>(Index2)]);
    Changed();
}

String TStringList::Text() const {
    std::size_t total = 0;
    for (const String& s : FItems)
        total += s.size() + 2;
    String out;
    try {
        out.reserve(total);
        for (const String& s : FItems) {
            out += s;
            out += u"\r\n";
        }
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    return out;
}

void TStringList::SetText(const String& Value) {
    std::vector<String> lines;
    try {
        lines = SplitLines(Value);
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    if (lines.size() > kMaxItems) throw EStringListError(u"Too many lines for a string list");
    UpdateGuard guard(*this);
    const bool hadItems = !FItems.empty();
    FItems.clear();
    if (hadItems) Changed();
    if (!FSorted) {
        FItems = std::move(lines);
        if (!FItems.empty()) Changed();
        return;
    }
    for (const String& s : lines) {
        const std::int32_t before = Count();
        AddNoNotify(s);
        if (Count() != before) Changed();
    }
}

void TStringList::LoadFromStream(TStream& Stream) {
    std::string bytes;
    std::array<char, 65536> buf;
    try {
        for (;;) {
            const std::int64_t got = Stream.Read(buf.data(), static_cast<std::int64_t>(buf.size()));
            if (got <= 0) break;
            bytes.append(buf.data(), static_cast<std::size_t>(got));
        }
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    SetText(Win1252ToString(bytes));
}

void TStringList::SaveToStream(TStream& Stream) const {
    const AnsiString bytes = StringToWin1252(Text());
    Stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TStringList::LoadFromFile(const String& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TStringList::SaveToFile(const String& FileName) const {
    TFileStream stream(FileName, fmCreate);
    SaveToStream(stream);
    stream.Flush();  // report write errors here rather than lose them in the destructor
}

void TStringList::Assign(const TPersistent* Source) {
    if (const auto* other = dynamic_cast<const TStringList*>(Source)) {
        if (other != this) {
            CopyFrom(*other);
            Changed();
        }
        return;
    }
    TPersistent::Assign(Source);
}

}  // namespace qorkit
