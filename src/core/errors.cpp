#include "qorkit/core/errors.h"

namespace qorkit {

String ComponentMessage(const TComponent& C, std::u16string_view Text) {
    String msg = u"Component \"" + C.Name() + u"\"";
    msg += Text;
    return msg;
}

}  // namespace qorkit
