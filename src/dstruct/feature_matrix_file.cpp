// The text file format of TFeatureMatrix: writing, reading and the file-name wrappers.
#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "../rtl/posix_file.h"
#include "qorkit/core/errors.h"
#include "qorkit/dstruct/feature_matrix.h"
#include "qorkit/rtl/atomic_save.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"
#include "xml_line.h"

namespace qorkit {

namespace {

/// Raised inside the reader for anything that makes the read fail (result -2).
struct TReadFailure {};

bool HasLineBreak(std::u16string_view s) noexcept {
    return s.find_first_of(u"\r\n") != std::u16string_view::npos;
}

std::u16string_view TrimSpaces(std::u16string_view s) noexcept {
    const std::size_t b = s.find_first_not_of(u' ');
    if (b == std::u16string_view::npos) return {};
    const std::size_t e = s.find_last_not_of(u' ');
    return s.substr(b, e - b + 1);
}

bool IsWhite(Char c) noexcept {
    return c == u' ' || c == u'\t';
}

/// Reads a signed decimal integer after optional blanks and tabs from `s` at `pos`; the
/// character after it must be a blank, a tab or the end. Fails the read otherwise.
std::int64_t ReadNumber(std::u16string_view s, std::size_t& pos) {
    while (pos < s.size() && IsWhite(s[pos]))
        ++pos;
    const std::size_t start = pos;
    if (pos < s.size() && (s[pos] == u'+' || s[pos] == u'-')) ++pos;
    while (pos < s.size() && s[pos] >= u'0' && s[pos] <= u'9')
        ++pos;
    if (pos < s.size() && !IsWhite(s[pos])) throw TReadFailure{};
    const std::u16string_view token = s.substr(start, pos - start);
    if (!IsFeatIntegerText(token)) throw TReadFailure{};
    std::int64_t v = 0;
    for (const Char c : token)
        if (c >= u'0' && c <= u'9') {
            v = v * 10 + (c - u'0');
            if (v > INT32_MAX) throw TReadFailure{};  // beyond Integer: a conversion error
        }
    return token.front() == u'-' ? -v : v;
}

/// A plain integer as the "featvals" counts are written: the whole text, blanks around it.
std::int64_t PlainNumber(std::u16string_view s) {
    std::size_t pos = 0;
    const std::int64_t v = ReadNumber(s, pos);
    while (pos < s.size() && IsWhite(s[pos]))
        ++pos;
    if (pos != s.size()) throw TReadFailure{};
    return v;
}

TFeatKind KindByName(std::u16string_view name) {
    for (int k = fkUndefined; k <= fkTriState; ++k)
        if (detail::SameIgnoringAZ(FeatKindName(static_cast<TFeatKind>(k)), name))
            return static_cast<TFeatKind>(k);
    return fkUndefined;
}

}  // namespace

void TFeatureMatrix::SaveToOpenFile(TextFile& F) const {
    // Refused before anything is written: a line break would end the record early and the
    // rest would read back as another record.
    const auto check = [&](const String& s, std::u16string_view what, std::int32_t f,
                           std::int32_t o) {
        if (!HasLineBreak(s)) return;
        String where = u"feature " + IntToStr(f);
        if (o > 0) where += u", object " + IntToStr(o);
        Fail(u": " + String(what) + u" of " + where +
             u" holds a line break, which the file format cannot carry");
    };
    for (std::int32_t f = 1; f <= FNFeats; ++f) {
        const TFeatMatProps& p = *FFeatProps[static_cast<std::size_t>(f - 1)];
        check(p.FeatName(), u"the name", f, 0);
        check(p.Comment(), u"the comment", f, 0);
        check(p.PresetValues(), u"the preset values", f, 0);
        for (std::int32_t o = 1; o <= FNObjs; ++o)
            check(Cell(f, o), u"the value", f, o);
    }

    F.WriteLn(u"#featdef " + IntToStr(FNFeats) + u" 1");
    for (std::int32_t f = 1; f <= FNFeats; ++f) {
        const TFeatMatProps& p = *FFeatProps[static_cast<std::size_t>(f - 1)];
        const String n = IntToStr(f) + u" ";
        F.WriteLn(n + u"fplFeatNum " + IntToStr(p.FeatNum()));
        F.WriteLn(n + u"fplFeatName " + p.FeatName());
        F.WriteLn(n + u"fplFeatKind " + String(FeatKindName(p.FeatKind())));
        F.WriteLn(n + u"fplComment " + p.Comment());
        F.WriteLn(n + u"fplPresets " + p.PresetValues());
        F.WriteLn(n + u"fplSorted " + (p.Sorted() ? u"TRUE" : u"FALSE"));
    }
    F.WriteLn(u"#featvals " + IntToStr(FNFeats) + u" " + IntToStr(FNObjs));
    String line;
    for (std::int32_t o = 1; o <= FNObjs; ++o) {
        const String objText = IntToStr(o);
        for (std::int32_t f = 1; f <= FNFeats; ++f) {
            const String& v = Cell(f, o);
            if (v.empty()) continue;
            line = IntToStr(f);
            line.push_back(u' ');
            line += objText;
            line.push_back(u' ');
            line += v;
            F.WriteLn(line);
        }
    }
    F.WriteLn(u"#featend");
}

void TFeatureMatrix::Save(const String& FName) const {
    SaveTextFileAtomically(FName, [&](TextFile& F) { SaveToOpenFile(F); });
}

std::int32_t TFeatureMatrix::LoadFromOpenFile(TextFile& F) {
    Clear();
    std::int32_t result = -1;
    try {
        result = ReadFile(F);
    } catch (const TReadFailure&) {
        result = -2;
    } catch (const Exception&) {
        result = -2;
    } catch (const std::bad_alloc&) {
        result = -2;
    }
    // Whatever stopped the read, property objects and features stay in step.
    if (FFeatProps.size() != static_cast<std::size_t>(FNFeats)) {
        FFeatProps.resize(static_cast<std::size_t>(FNFeats));
        for (auto& p : FFeatProps)
            if (p == nullptr) p = std::make_shared<TFeatMatProps>();
    }
    Changed();
    return result;
}

std::int32_t TFeatureMatrix::ReadFile(TextFile& F) {
    std::int32_t result = -1;
    String line;
    while (!F.Eof()) {
        F.ReadLn(line);
        if (line.empty() || line[0] != u'#') continue;
        const std::u16string_view body = std::u16string_view(line).substr(1);
        const std::size_t space = body.find(u' ');
        const std::u16string_view keyword = body.substr(0, space);
        const std::u16string_view rest = space == std::u16string_view::npos
                                             ? std::u16string_view()
                                             : TrimSpaces(body.substr(space + 1));

        if (detail::SameIgnoringAZ(keyword, u"featdef")) {
            result = 0;
            std::size_t pos = 0;
            const std::int64_t n = ReadNumber(rest, pos);
            const std::int64_t version = ReadNumber(rest, pos);
            if (version != 1) continue;
            if (n < 0 || n > kMaxReadFeatures) throw TReadFailure{};
            // The definitions make the features: n of them, with default properties and the
            // objects read so far.
            Reshape(static_cast<std::int32_t>(n), FNObjs);
            for (std::int32_t f = 0; f < FNFeats; ++f)
                FFeatProps[static_cast<std::size_t>(f)] = std::make_shared<TFeatMatProps>();
            String def;
            for (std::int64_t k = 0; k < 6 * n; ++k) {
                F.ReadLn(def);
                std::size_t at = 0;
                const std::int64_t fix = ReadNumber(def, at);
                const std::u16string_view kv = TrimSpaces(std::u16string_view(def).substr(at));
                const std::size_t sep = kv.find(u' ');
                if (sep == std::u16string_view::npos) continue;  // no value: the default stays
                if (fix < 1 || fix > FNFeats) continue;
                const std::u16string_view key = kv.substr(0, sep);
                const String value(kv.substr(sep + 1));
                TFeatMatProps& p = *FFeatProps[static_cast<std::size_t>(fix - 1)];
                if (detail::SameIgnoringAZ(key, u"fplFeatNum"))
                    p.SetFeatNum(static_cast<std::int32_t>(PlainNumber(value)));
                else if (detail::SameIgnoringAZ(key, u"fplFeatName"))
                    p.SetFeatName(value);
                else if (detail::SameIgnoringAZ(key, u"fplFeatKind"))
                    p.SetFeatKind(KindByName(value));
                else if (detail::SameIgnoringAZ(key, u"fplComment"))
                    p.SetComment(value);
                else if (detail::SameIgnoringAZ(key, u"fplPresets"))
                    p.SetPresetValues(value);
                else if (detail::SameIgnoringAZ(key, u"fplSorted"))
                    p.SetSorted(LowerCase(value) == u"true");
            }
        } else if (detail::SameIgnoringAZ(keyword, u"featvals")) {
            result = 0;
            const std::size_t sep = rest.find(u' ');
            if (sep == std::u16string_view::npos) throw TReadFailure{};
            const std::int64_t nf = PlainNumber(rest.substr(0, sep));
            const std::int64_t no = PlainNumber(rest.substr(sep + 1));
            if (nf < 0 || no < 0 || nf > kMaxReadFeatures || nf * no > kMaxReadValues)
                throw TReadFailure{};
            // Features beyond the definitions get default properties, surplus definitions
            // are dropped: the value block decides the shape, and every value is emptied.
            // Objects come only from this block, so every value made here is empty.
            Reshape(static_cast<std::int32_t>(nf), static_cast<std::int32_t>(no));
            String v;
            while (!F.Eof()) {
                F.ReadLn(v);
                if (v.empty() || v[0] == u'#') break;
                std::size_t at = 0;
                const std::int64_t fix = ReadNumber(v, at);
                const std::int64_t obj = ReadNumber(v, at);
                if (fix < 1 || fix > FNFeats || obj < 1 || obj > FNObjs) continue;
                Cell(static_cast<std::int32_t>(fix), static_cast<std::int32_t>(obj))
                    .assign(TrimSpaces(std::u16string_view(v).substr(at)));
            }
            break;  // the end of the value block ends the read
        }
    }
    return result;
}

std::int32_t TFeatureMatrix::Load(const String& FName) {
    std::error_code ec;
    if (!std::filesystem::exists(detail::NativePath(FName), ec)) return -1;
    TextFile F;
    F.Assign(FName);
    F.Reset();
    const std::int32_t r = LoadFromOpenFile(F);
    F.Close();
    return r == 0 ? 0 : r - 1;
}

}  // namespace qorkit
