// Process-wide progress and abort hooks shared by long-running numerical routines.
//
// These are plain variables: the library itself never reads them (only its start-up sets
// ProcStat to 0.0); they are the meeting point of the caller's numerical components.
// Callers that use them from several threads synchronise themselves.
#pragma once

#include <cstdint>

#include "qorkit/core/types.h"

namespace qorkit {

/// Progress state of the long-running routine under way; 0.0 after load.
extern double ProcStat;
/// The progress state last reported; 0.0 after load.
extern double LastProcStat;
/// Set non-zero by a client to ask a long-running routine to stop; 0 after load.
/// A four-byte flag.
extern std::int32_t AbortMathProc;
/// Procedure that long-running routines call with their progress; null (no call) after load.
extern FeedBackProcType MathFeedBackProc;

}  // namespace qorkit
