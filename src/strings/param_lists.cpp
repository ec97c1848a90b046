// Parameter lists.
#include "qorkit/strings/param_lists.h"

#include "qorkit/rtl/sysutils.h"
#include "qorkit/strings/number_format.h"

namespace qorkit {

namespace {

template <typename T, typename Write>
String ParList(std::span<const T> values, bool trailingComma, std::int32_t maximum, bool brackets,
               Write write) {
    String out = brackets ? u"[" : u"";
    std::size_t c = values.size();
    if (maximum > 0 && static_cast<std::size_t>(maximum) < c) c = static_cast<std::size_t>(maximum);
    if (c == 0) out += u',';
    for (std::size_t i = 0; i < c; ++i) {
        out += write(values[i]);
        out += u',';
    }
    if (c < values.size()) out += u"...,";
    if (brackets)
        out.back() = u']';
    else
        out.pop_back();
    if (trailingComma) out += u',';
    return out;
}

}  // namespace

String CreateParList(std::span<const std::int32_t> values, bool trailingComma, std::int32_t maximum,
                     bool brackets) {
    return ParList(values, trailingComma, maximum, brackets,
                   [](std::int32_t v) { return IntToStr(v); });
}

String CreateParList(std::span<const bool> values, bool trailingComma, std::int32_t maximum,
                     bool brackets) {
    return ParList(values, trailingComma, maximum, brackets,
                   [](bool v) { return BoolToStr(v, 0); });
}

String CreateParList(std::span<const double> values, bool trailingComma, std::int32_t maximum,
                     std::int32_t digits, bool brackets) {
    return ParList(values, trailingComma, maximum, brackets,
                   [digits](double v) { return AutoFormatData(v, digits); });
}

}  // namespace qorkit
