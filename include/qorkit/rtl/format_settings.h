// The library's own number format settings: what "the current locale settings" mean for the
// conversions that follow them. The process locale is never consulted.
#pragma once

#include "qorkit/rtl/system.h"

namespace qorkit {

/// Format settings of number conversions.
struct TFormatSettings {
    /// The character between the integer and the fractional digits ("." by default).
    Char DecimalSeparator = u'.';
};

/// The process-wide settings used where an operation follows "the current settings" (the
/// feature matrix's typed double access). Constant-initialised with "." as decimal separator;
/// a caller may change it. Not synchronised: callers that change it while other threads
/// convert numbers synchronise themselves.
extern TFormatSettings FormatSettings;

/// `FloatToStr(Value)` with the decimal point written as `Settings.DecimalSeparator`.
String FloatToStr(long double Value, const TFormatSettings& Settings);
/// `StrToFloat` for text that uses `Settings.DecimalSeparator` as the decimal separator; with
/// a separator other than ".", a "." in the text is not accepted. Raises `EConvertError`
/// "'<S>' is not a valid floating point value" as `StrToFloat` does.
long double StrToFloat(const String& S, const TFormatSettings& Settings);

}  // namespace qorkit
