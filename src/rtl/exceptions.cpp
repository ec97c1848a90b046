#include "qorkit/rtl/exceptions.h"

#include <cstring>

namespace qorkit {

Exception::Exception(String message) : FMessage(std::move(message)), FUtf8(ToUtf8(FMessage)) {}

Exception::Exception(std::string_view utf8Message)
    : FMessage(FromUtf8(utf8Message)), FUtf8(ToUtf8(FMessage)) {}

EInOutError::EInOutError(int errorCode, String message)
    : Exception(std::move(message)), FErrorCode(errorCode) {}

EInOutError::EInOutError(int errorCode, std::string_view utf8Message)
    : Exception(utf8Message), FErrorCode(errorCode) {}

String SysErrorMessage(int err) {
    char buf[256] = {};
    // The GNU variant may return a static string instead of filling the buffer.
#if defined(__GLIBC__) && defined(_GNU_SOURCE)
    const char* text = strerror_r(err, buf, sizeof buf);
#else
    const char* text = strerror_r(err, buf, sizeof buf) == 0 ? buf : "Unknown error";
#endif
    return FromUtf8(text);
}

}  // namespace qorkit
