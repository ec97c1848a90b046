#include "qorkit/core/hooks.h"

#include "unit_routines.h"

namespace qorkit {

double ProcStat = 0.0;
double LastProcStat = 0.0;
std::int32_t AbortMathProc = 0;
FeedBackProcType MathFeedBackProc = nullptr;

namespace detail {

void StartQorbase() {
    ProcStat = 0.0;
}
// The name tables of this unit are constant data; nothing to release.
void StopQorbase() {}

}  // namespace detail

}  // namespace qorkit
