#include "qorkit/rtl/format_settings.h"

#include <algorithm>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

constinit TFormatSettings FormatSettings{};

String FloatToStr(long double Value, const TFormatSettings& Settings) {
    String s = FloatToStr(Value);
    if (Settings.DecimalSeparator != u'.')
        std::replace(s.begin(), s.end(), u'.', Settings.DecimalSeparator);
    return s;
}

long double StrToFloat(const String& S, const TFormatSettings& Settings) {
    const Char sep = Settings.DecimalSeparator;
    if (sep == u'.') return StrToFloat(S);
    String t = S;
    if (t.find(u'.') == String::npos) {
        std::replace(t.begin(), t.end(), sep, u'.');
        long double v = 0;
        if (TryStrToFloat(t, v)) return v;
    }
    throw EConvertError(u"'" + S + u"' is not a valid floating point value");
}

}  // namespace qorkit
