// TGrep: properties, error texts and the pattern compiler.
#include <algorithm>
#include <string_view>

#include "hex_field.h"
#include "qorkit/core/errors.h"
#include "qorkit/strings/grep.h"
#include "substring_finder.h"

namespace qorkit {

namespace {

constexpr std::u16string_view kErrorTexts[] = {
    u"no errors",
    u"reg.exp. must not start with $, *, ?, or +",
    u"circumflex not allowed here",
    u"no character allowed after end of line",
    u"empty set",
    u"circumflex has to be quoted in set",
    u"mismatch of set brackets",
    u"minus not allowed here",
    u"mismatch of group brackets",
    u"*, ?, + have to be applied to groups or sets only",
    u"too many tokens (at most 64)",
    u"literal or group too long (at most 255 characters)",
    u"set character above code 255",
};

constexpr std::int32_t kMaxTokens = 64;
constexpr std::int32_t kMaxChars = 255;

// "\#hh" becomes the character with code hh, left to right in one pass. An occurrence whose
// backslash follows a backslash (as the text stands, substitutions included) is kept; the
// search resumes after each inserted character, so an inserted character never becomes part
// of a further code.
String SubstituteHexCodes(std::u16string_view s) {
    String out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == u'\\' && i + 1 < s.size() && s[i + 1] == u'#') {
            if (!out.empty() && out.back() == u'\\') {
                out.append(u"\\#");
                i += 2;
                continue;
            }
            const std::u16string_view field = s.substr(i + 2, 2);
            out.push_back(static_cast<Char>(detail::ReadHexField(field)));
            i += 2 + field.size();
            continue;
        }
        out.push_back(s[i]);
        ++i;
    }
    return out;
}

enum class State { Start, AfterItem, SetFirst, SetRest, AfterSet, InGroup, AfterGroup, AfterEnd };

bool IsRepetition(TGrepTokenAct a) noexcept {
    return a == taMult0 || a == taMult1 || a == taOpti;
}

// The compiler's working state over one pattern; writes straight into the token table.
class Compiler {
  public:
    Compiler(TRegExp& Tokens, std::int32_t& Count, std::u16string_view Pattern)
        : FTok(Tokens), FCount(Count), FPat(Pattern) {}

    std::int32_t Run() {
        while (FPos < FPat.size() && FErr == 0) {
            const Char c = FPat[FPos++];
            switch (FState) {
                case State::Start:
                case State::AfterItem:
                case State::AfterSet:
                case State::AfterGroup:
                    Outside(c);
                    break;
                case State::SetFirst:
                    SetFirst(c);
                    break;
                case State::SetRest:
                    SetRest(c);
                    break;
                case State::InGroup:
                    if (c == u')')
                        FState = State::AfterGroup;
                    else if (c == u'^')
                        FErr = 2;
                    else
                        Append(c == u'\\' ? Quoted() : c);
                    break;
                case State::AfterEnd:
                    FErr = 3;
                    break;
            }
        }
        return FErr;
    }

  private:
    TGrepToken& Last() { return FTok[static_cast<std::size_t>(FCount - 1)]; }

    // The character after a backslash; a backslash at the very end quotes code 0.
    Char Quoted() { return FPos < FPat.size() ? FPat[FPos++] : (++FPos, Char{0}); }

    TGrepToken* NewToken(TGrepTokenAct Action) {
        if (FCount >= kMaxTokens) {
            FErr = kGrepErrTooManyTokens;
            return nullptr;
        }
        TGrepToken& t = FTok[static_cast<std::size_t>(FCount++)];
        t.Action = Action;
        t.NumChars = 0;
        return &t;
    }

    void Append(Char c) {
        TGrepToken& t = Last();
        if (t.NumChars >= kMaxChars) {
            FErr = kGrepErrTokenTooLong;
            return;
        }
        t.Params[static_cast<std::size_t>(++t.NumChars)] = c;
    }

    void Literal(Char c) {
        if (FState == State::AfterItem && Last().Action == taNormal) {
            Append(c);
            return;
        }
        if (TGrepToken* t = NewToken(taNormal)) {
            t->NumChars = 1;
            t->Params[1] = c;
            FState = State::AfterItem;
        }
    }

    void Outside(Char c) {
        const bool start = FState == State::Start;
        switch (c) {
            case u'$':
                if (start)
                    FErr = 1;
                else if (NewToken(taEol))
                    FState = State::AfterEnd;
                break;
            case u'*':
                Repeat(taMult0);
                break;
            case u'+':
                Repeat(taMult1);
                break;
            case u'?':
                Repeat(taOpti);
                break;
            case u'(':
                if (NewToken(taNormal)) FState = State::InGroup;
                break;
            case u')':
                FErr = 8;
                break;
            case u'[':
                if (TGrepToken* t = NewToken(taSet)) {
                    t->NumChars = -1;
                    t->Params.fill(u' ');
                    FNegate = false;
                    FSetEmpty = true;
                    FState = State::SetFirst;
                }
                break;
            case u']':
                FErr = 6;
                break;
            case u'^':
                if (!start)
                    FErr = 2;
                else if (NewToken(taBol))
                    FState = State::AfterItem;
                break;
            case u'.':
                if (NewToken(taAnyByte)) FState = State::AfterItem;
                break;
            case u'-':
                if (FState == State::AfterSet)
                    FErr = 7;
                else
                    Literal(c);
                break;
            case u'\\':
                Literal(Quoted());
                break;
            default:
                Literal(c);
                break;
        }
    }

    void Repeat(TGrepTokenAct Op) {
        if (FState == State::Start) {
            FErr = 1;
            return;
        }
        TGrepToken& t = Last();
        if (IsRepetition(t.Action) || t.Action == taBol || t.Action == taEol) {
            FErr = 9;
            return;
        }
        if (t.Action == taNormal && FState == State::AfterItem && t.NumChars > 1) {
            // "abc*": the last character alone is repeated.
            const Char c = t.Params[static_cast<std::size_t>(t.NumChars)];
            if (FCount >= kMaxTokens) {
                FErr = kGrepErrTooManyTokens;
                return;
            }
            --t.NumChars;
            TGrepToken* r = NewToken(Op);
            r->NumChars = 1;
            r->Params[1] = c;
            return;
        }
        if (t.Action == taSet) t.NumChars = -1;
        if (t.Action == taAnyByte) t.NumChars = 0;
        t.Action = Op;  // a literal or group keeps its text
    }

    void Member(Char c) {
        if (c > 255) {
            FErr = kGrepErrSetCharRange;
            return;
        }
        Last().Params[c] = u'*';
        FLastMember = c;
        FSetEmpty = false;
    }

    void SetFirst(Char c) {
        FState = State::SetRest;
        if (c == u'^')
            FNegate = true;
        else if (c == u']')
            FErr = 4;
        else if (c == u'-')
            FErr = 7;
        else
            Member(c == u'\\' ? Quoted() : c);
    }

    void SetRest(Char c) {
        switch (c) {
            case u']':
                if (FNegate) {
                    for (Char& e : Last().Params)
                        e = e == u'*' ? u' ' : u'*';
                    FNegate = false;
                }
                FState = State::AfterSet;
                break;
            case u'^':
                FErr = 5;
                break;
            case u'-': {
                // A range needs a member of this set as its first end ("[^-z]" has none).
                if (FSetEmpty) {
                    FErr = 7;
                    break;
                }
                const Char y = Quoted();  // taken literally; code 0 past the end
                const Char lo = std::min(FLastMember, y);
                const Char hi = std::max(FLastMember, y);
                if (hi > 255) {
                    FErr = kGrepErrSetCharRange;
                    break;
                }
                for (unsigned k = lo; k <= hi; ++k)
                    Last().Params[k] = u'*';
                FLastMember = lo;
                break;
            }
            case u'\\':
                Member(Quoted());
                break;
            default:
                Member(c);
                break;
        }
    }

    TRegExp& FTok;
    std::int32_t& FCount;
    std::u16string_view FPat;
    std::size_t FPos = 0;
    State FState = State::Start;
    std::int32_t FErr = 0;
    bool FNegate = false;
    bool FSetEmpty = true;
    Char FLastMember = u'A';
};

}  // namespace

std::u16string_view GrepErrorText(std::int32_t Code) noexcept {
    if (Code < 0 || Code >= static_cast<std::int32_t>(std::size(kErrorTexts)))
        return u"unknown error";
    return kErrorTexts[Code];
}

TGrep::TGrep(TComponent* AOwner) : TComponent(AOwner) {}

void TGrep::SetIgnoreCase(bool Value) {
    FIgnoreCase = Value;
    CompileRegExp(FRegExpStr);
}

void TGrep::SetRegExp(const String& Value) {
    FRegExpStr = Value;
    if (CompileRegExp(FRegExpStr) != 0 && FStopOnError) {
        String text(u": error in regular expression - ");
        text.append(GrepErrorText(FError));
        throw EQORStringlError(ComponentMessage(*this, text));
    }
}

TGrepToken TGrep::GetRegExpToken(std::int32_t regix) const noexcept {
    regix = std::max(std::min(regix, FLengRegExp), 1);
    return FregExp[static_cast<std::size_t>(regix - 1)];
}

std::int32_t TGrep::CompileRegExp(String s) {
    FError = 0;
    if (FIgnoreCase) {
        for (Char& c : s)
            c = detail::FoldAZ(c);
    }
    const String pattern = SubstituteHexCodes(s);
    for (TGrepToken& t : FregExp) {
        t.NumChars = 0;
        t.ValidFrom = 0;
    }
    FLengRegExp = 0;
    FFirstSetRanges = -1;
    FError = Compiler(FregExp, FLengRegExp, pattern).Run();
    return FError;
}

}  // namespace qorkit
