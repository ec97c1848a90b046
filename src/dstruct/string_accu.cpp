// TStringAccu: parallel arrays of strings and counts.
#include "qorkit/dstruct/string_accu.h"

#include <algorithm>
#include <limits>

#include "qorkit/core/errors.h"

namespace qorkit {

TStringAccu::TStringAccu(TComponent* AOwner) : TComponent(AOwner) {}

void TStringAccu::Add(const String& AString) {
    const auto it = std::find(FStrArray.begin(), FStrArray.end(), AString);
    if (it != FStrArray.end()) {
        std::int32_t& count = FCntArray[static_cast<std::size_t>(it - FStrArray.begin())];
        if (count < std::numeric_limits<std::int32_t>::max()) ++count;
        return;
    }
    const String message = ComponentMessage(*this, kMsgNoMemory);
    if (FSize == std::numeric_limits<std::int32_t>::max()) throw EQORDStructError(message);
    // Everything that can fail happens before the first array changes.
    GuardAllocation<EQORDStructError>(message, [&] {
        String copy = AString;
        FStrArray.reserve(FStrArray.size() + 1);
        FCntArray.reserve(FCntArray.size() + 1);
        FStrArray.push_back(std::move(copy));
    });
    FCntArray.push_back(1);
    ++FSize;
}

String TStringAccu::GetString(std::int32_t ix) const {
    if (ix < 1 || ix > FSize) return String();
    return FStrArray[static_cast<std::size_t>(ix - 1)];
}

std::int32_t TStringAccu::GetCount(std::int32_t ix) const noexcept {
    if (ix < 1 || ix > FSize) return 0;
    return FCntArray[static_cast<std::size_t>(ix - 1)];
}

void TStringAccu::Clear() noexcept {
    FStrArray.clear();
    FCntArray.clear();
    FSize = 0;
}

}  // namespace qorkit
