// The library's error class tree and the helpers that build its messages.
#pragma once

#include <new>
#include <string_view>
#include <utility>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/objects.h"

namespace qorkit {

/// Base class of every error the library raises itself; catch it to catch them all.
class EQORError : public Exception {
  public:
    using Exception::Exception;
};
/// Errors of the colour unit.
class EQORColArrayError : public EQORError {
  public:
    using EQORError::EQORError;
};
/// Errors of the string unit.
class EQORStringlError : public EQORError {
  public:
    using EQORError::EQORError;
};
/// Errors of the data-structure unit.
class EQORDStructError : public EQORError {
  public:
    using EQORError::EQORError;
};
/// Errors of the file-system unit.
class EQORFileSysError : public EQORError {
  public:
    using EQORError::EQORError;
};
/// Errors of the CPU identification unit.
class EQORCpuIdError : public EQORError {
  public:
    using EQORError::EQORError;
};

/// Message suffix of a constructor that could not allocate.
inline constexpr std::u16string_view kMsgNoHeapMemory = u": not enough memory on heap";
/// Message suffix of a resize that could not allocate.
inline constexpr std::u16string_view kMsgNoMemory = u": not enough memory";

/// The message of a component error: `Component "<Name>"` followed by `Text`, e.g.
/// `Component "Table1": not enough memory`.
String ComponentMessage(const TComponent& C, std::u16string_view Text);

/// Runs `Work`; a `std::bad_alloc` it throws is re-raised as `E(Message)`, so that the
/// platform's out-of-memory error never escapes a constructor or resize of the library.
template <class E, class F>
decltype(auto) GuardAllocation(const String& Message, F&& Work) {
    try {
        return std::forward<F>(Work)();
    } catch (const std::bad_alloc&) {
        throw E(Message);
    }
}

}  // namespace qorkit
