// Start-up and shut-down work of the unit Qor_cpuid.
#include "../core/unit_routines.h"

namespace qorkit::detail {

// The unit's data is constant so far: nothing to build at start-up or release at shut-down.
void StartCpuid() {}
void StopCpuid() {}

}  // namespace qorkit::detail
