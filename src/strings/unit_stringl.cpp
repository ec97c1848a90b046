// Start-up and shut-down work of the unit Qor_stringl.
#include "../core/unit_routines.h"
#include "qorkit/strings/scramble.h"

namespace qorkit::detail {

// Builds the scrambler's tables with the default seed. This runs from the library's load
// hook: InitScramble touches only constant-initialised data (the tables and RandSeed).
void StartStringl() {
    InitScramble(6071);
}
void StopStringl() {}

}  // namespace qorkit::detail
