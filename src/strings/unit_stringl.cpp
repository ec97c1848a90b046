// Start-up and shut-down work of the unit Qor_stringl.
#include "../core/unit_routines.h"

namespace qorkit::detail {

// The unit's data is constant so far: nothing to build at start-up or release at shut-down.
void StartStringl() {}
void StopStringl() {}

}  // namespace qorkit::detail
