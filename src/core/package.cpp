#include "qorkit/core/package.h"

#include <array>

#include "unit_routines.h"

namespace qorkit {

namespace {

struct UnitState {
    std::int32_t RefCount = 0;
    TUnitWorkCounts Work;
};

// Plain zero-initialised data: valid before any dynamic initialisation runs.
std::array<UnitState, 6> gUnits{};
TUnitTraceProc gTrace = nullptr;

struct UnitWork {
    const char* Name;
    void (*Start)();
    void (*Stop)();
};

constexpr std::array<UnitWork, 6> kWork = {{
    {"Qor_qorbase", detail::StartQorbase, detail::StopQorbase},
    {"Qor_qorcolors", detail::StartQorcolors, detail::StopQorcolors},
    {"Qor_stringl", detail::StartStringl, detail::StopStringl},
    {"Qor_dstruct", detail::StartDstruct, detail::StopDstruct},
    {"Qor_filesys", detail::StartFilesys, detail::StopFilesys},
    {"Qor_cpuid", detail::StartCpuid, detail::StopCpuid},
}};

template <std::size_t I>
void UnitInit() {
    UnitState& u = gUnits[I];
    if (u.RefCount++ != 0) return;
    ++u.Work.Starts;
    if (gTrace) gTrace(kWork[I].Name, true);
    kWork[I].Start();
}

template <std::size_t I>
void UnitFinalize() {
    UnitState& u = gUnits[I];
    if (u.RefCount == 0 || --u.RefCount != 0) return;
    ++u.Work.Stops;
    if (gTrace) gTrace(kWork[I].Name, false);
    kWork[I].Stop();
}

constexpr std::array<TPackageUnitInfo, 6> kTable = {{
    {kWork[0].Name, UnitInit<0>, UnitFinalize<0>},
    {kWork[1].Name, UnitInit<1>, UnitFinalize<1>},
    {kWork[2].Name, UnitInit<2>, UnitFinalize<2>},
    {kWork[3].Name, UnitInit<3>, UnitFinalize<3>},
    {kWork[4].Name, UnitInit<4>, UnitFinalize<4>},
    {kWork[5].Name, UnitInit<5>, UnitFinalize<5>},
}};

// Runs the units' start-up when the shared library is loaded and their shut-down when it is
// unloaded or the process ends.
__attribute__((constructor)) void LoadHook() {
    Initialize();
}
__attribute__((destructor)) void UnloadHook() {
    Finalize();
}

}  // namespace

std::span<const TPackageUnitInfo> GetPackageInfoTable() noexcept {
    return kTable;
}

void Initialize() noexcept {
    for (const TPackageUnitInfo& unit : kTable)
        unit.Init();
}

void Finalize() noexcept {
    for (auto it = kTable.rbegin(); it != kTable.rend(); ++it)
        it->Finalize();
}

TUnitWorkCounts UnitWorkCounts(std::int32_t Index) noexcept {
    if (Index < 0 || Index >= static_cast<std::int32_t>(gUnits.size())) return {};
    return gUnits[static_cast<std::size_t>(Index)].Work;
}

void SetUnitTraceProc(TUnitTraceProc Proc) noexcept {
    gTrace = Proc;
}

}  // namespace qorkit

extern "C" {

const qorkit::TPackageUnitInfo* QorkitGetPackageInfoTable(std::int32_t* Count) {
    const auto table = qorkit::GetPackageInfoTable();
    if (Count) *Count = static_cast<std::int32_t>(table.size());
    return table.data();
}

void QorkitInitialize(void) {
    qorkit::Initialize();
}
void QorkitFinalize(void) {
    qorkit::Finalize();
}

void QorkitUnitWorkCounts(std::int32_t Index, std::int32_t* Starts, std::int32_t* Stops) {
    const qorkit::TUnitWorkCounts c = qorkit::UnitWorkCounts(Index);
    if (Starts) *Starts = c.Starts;
    if (Stops) *Stops = c.Stops;
}

void QorkitSetUnitTraceProc(qorkit::TUnitTraceProc Proc) {
    qorkit::SetUnitTraceProc(Proc);
}

const char* QorkitVersion(void) {
    return QORKIT_VERSION_STRING;
}
}
