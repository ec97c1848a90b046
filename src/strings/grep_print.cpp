// TGrep::PrintRegExp: the token listing as a text file.
#include "qorkit/rtl/text_file.h"
#include "qorkit/strings/grep.h"

namespace qorkit {

namespace {

// The member characters of a membership table, in code order.
String Members(const TCharArr256& Params) {
    String out;
    for (std::size_t c = 0; c < Params.size(); ++c) {
        if (Params[c] == u'*') out.push_back(static_cast<Char>(c));
    }
    return out;
}

// Characters 1..NumChars of a text token.
String Text(const TGrepToken& t) {
    String out;
    for (std::int32_t i = 1; i <= t.NumChars; ++i)
        out.push_back(t.Params[static_cast<std::size_t>(i)]);
    return out;
}

String Describe(const TGrepToken& t) {
    if (t.NumChars < 0) return u"(set) " + Members(t.Params);
    if (t.NumChars == 0) return u"(anychar) ";
    return u"(string) " + Text(t);
}

String Line(const TGrepToken& t) {
    switch (t.Action) {
        case taNormal:
            return u" taNormal: " + Text(t);
        case taAnyByte:
            return u"taAnyByte: ";
        case taEol:
            return u"    taEol: ";
        case taBol:
            return u"    taBol: ";
        case taSet:
            return u"    taSet: " + Members(t.Params);
        case taMult0:
            return u"  taMult0: " + Describe(t);
        case taMult1:
            return u"  taMult1: " + Describe(t);
        case taOpti:
            return u"   taOpti: " + Describe(t);
    }
    return String();
}

}  // namespace

void TGrep::PrintRegExp(const String& FName) const {
    TextFile f;
    f.Assign(FName);
    f.Rewrite();
    for (std::int32_t k = 0; k < FLengRegExp; ++k)
        f.WriteLn(Line(FregExp[static_cast<std::size_t>(k)]));
    f.WriteLn(String(GrepErrorText(FError)));
    f.Close();
}

}  // namespace qorkit
