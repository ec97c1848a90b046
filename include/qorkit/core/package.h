// Start-up and shut-down of the library's units.
//
// When the shared library is loaded, `Initialize` runs automatically; when it is unloaded (or
// the process ends), `Finalize` runs. Each unit's start-up and shut-down are counted: the
// work is done on the first start-up call and undone by the shut-down call that balances it,
// so a host that loads the library a second time, or calls `Initialize` itself, does not
// initialise the units again.
#pragma once

#include <cstdint>
#include <span>

namespace qorkit {

/// One unit of the package with its counted start-up and shut-down routines.
struct TPackageUnitInfo {
    const char* Name;    ///< unit name, e.g. "Qor_qorbase"
    void (*Init)();      ///< counted start-up: does the work on the first call only
    void (*Finalize)();  ///< counted shut-down: undoes it on the call that balances the first
};

/// The units that have start-up or shut-down work, in start-up order: Qor_qorbase,
/// Qor_qorcolors, Qor_stringl, Qor_dstruct, Qor_filesys, Qor_cpuid. (Qor_univconst,
/// Qor_streams and Qor_htmlsupport have none.)
std::span<const TPackageUnitInfo> GetPackageInfoTable() noexcept;
/// Runs every unit's counted start-up in table order.
void Initialize() noexcept;
/// Runs every unit's counted shut-down in reverse table order. Without a matching
/// `Initialize` it does nothing.
void Finalize() noexcept;

/// How often a unit's start-up and shut-down work actually ran in this process.
struct TUnitWorkCounts {
    std::int32_t Starts = 0;
    std::int32_t Stops = 0;
};
/// The work counts of table entry `Index`; zeros for an index out of range.
TUnitWorkCounts UnitWorkCounts(std::int32_t Index) noexcept;

/// Diagnostic hook called each time a unit's start-up (`Starting` true) or shut-down work
/// actually runs; null (the default) means no call.
using TUnitTraceProc = void (*)(const char* UnitName, bool Starting);
void SetUnitTraceProc(TUnitTraceProc Proc) noexcept;

}  // namespace qorkit

// Plain C entry points for hosts that load the library at run time.
extern "C" {
/// `GetPackageInfoTable`: the table, its length stored in `*Count`.
const qorkit::TPackageUnitInfo* QorkitGetPackageInfoTable(std::int32_t* Count);
void QorkitInitialize(void);
void QorkitFinalize(void);
/// `UnitWorkCounts` of entry `Index` into `*Starts` and `*Stops`.
void QorkitUnitWorkCounts(std::int32_t Index, std::int32_t* Starts, std::int32_t* Stops);
void QorkitSetUnitTraceProc(qorkit::TUnitTraceProc Proc);
/// The library version, e.g. "0.1.0".
const char* QorkitVersion(void);
}
