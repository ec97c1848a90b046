// Start-up and shut-down work of the unit Qor_dstruct.
#include "../core/unit_routines.h"

namespace qorkit::detail {

// The unit's data is constant so far: nothing to build at start-up or release at shut-down.
void StartDstruct() {}
void StopDstruct() {}

}  // namespace qorkit::detail
