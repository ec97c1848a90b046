// The start-up and shut-down work of each unit, called by the package frame exactly once per
// balanced pair of calls. The work may only touch constant-initialised data and
// function-local statics: it runs from the shared library's load hook, when the dynamic
// initialisation of other translation units may not have happened yet.
#pragma once

namespace qorkit::detail {

void StartQorbase();
void StopQorbase();
void StartQorcolors();
void StopQorcolors();
void StartStringl();
void StopStringl();
void StartDstruct();
void StopDstruct();
void StartFilesys();
void StopFilesys();
void StartCpuid();
void StopCpuid();

}  // namespace qorkit::detail
