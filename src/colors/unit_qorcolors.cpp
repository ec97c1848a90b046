// Start-up and shut-down work of the unit Qor_qorcolors.
#include "../core/unit_routines.h"

namespace qorkit::detail {

// The unit's tables are constant data: nothing to build at start-up or release at shut-down.
void StartQorcolors() {}
void StopQorcolors() {}

}  // namespace qorkit::detail
