#include "../core/tag_reader_core.h"
#include "qorkit/streams/tag_scan.h"

namespace qorkit {

namespace detail {

XMLAttribStatus ReadXMLAttrib(std::u16string_view text, std::size_t& pos, String& name,
                              String& value) {
    enum State : std::uint8_t { stName, stBeforeValue, stQuoted, stPlain };
    name.clear();
    value.clear();
    if (pos >= text.size()) return asNothingLeft;
    State state = stName;
    while (pos < text.size()) {
        const Char c = text[pos++];
        switch (state) {
            case stName:
                if (c == u'"') return asMalformed;
                if (c == u'=') {
                    state = stBeforeValue;
                } else {
                    name.push_back(c);
                }
                break;
            case stBeforeValue:
                if (c == u' ') break;
                if (c == u'"') {
                    state = stQuoted;
                } else if (c == u'=') {
                    return asMalformed;
                } else {
                    state = stPlain;
                    value.push_back(c);
                }
                break;
            case stQuoted:
                if (c == u'"') {
                    name = TrimBlanks(name);
                    return asFound;
                }
                value.push_back(c);
                break;
            case stPlain:
                if (c == u' ' || c == u'"') {
                    name = TrimBlanks(name);
                    return asFound;
                }
                if (c == u'=') return asMalformed;
                value.push_back(c);
                break;
        }
    }
    name = TrimBlanks(name);
    return asFound;
}

}  // namespace detail

String ScanForXMLAttrib(const String& AttrText, const String& Name) {
    String wanted(Name);
    for (Char& c : wanted)
        c = detail::LowerAZ(c);
    std::size_t pos = 0;
    String name;
    String value;
    while (detail::ReadXMLAttrib(AttrText, pos, name, value) == detail::asFound) {
        for (Char& c : name)
            c = detail::LowerAZ(c);
        if (name == wanted) return value;
    }
    return String();
}

}  // namespace qorkit
