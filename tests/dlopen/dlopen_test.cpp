// Loads the shared library twice in one process, unloads it twice, and checks that every unit
// started once, in order, and stopped once, in reverse order. The program does not link the
// library; it reaches it only through dlopen/dlsym.
#include <dlfcn.h>
#include <link.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct UnitInfo {
    const char* Name;
    void (*Init)();
    void (*Finalize)();
};

using GetTableFn = const UnitInfo* (*)(std::int32_t*);
using VoidFn = void (*)();
using CountsFn = void (*)(std::int32_t, std::int32_t*, std::int32_t*);
using TraceProc = void (*)(const char*, bool);
using SetTraceFn = void (*)(TraceProc);

std::vector<std::string> gEvents;
void Trace(const char* unit, bool starting) {
    gEvents.push_back(std::string(starting ? "start " : "stop ") + unit);
}

int gPasses = 0;
int gFailures = 0;
void Check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    ++(ok ? gPasses : gFailures);
}

template <class T>
T Sym(void* h, const char* name) {
    void* p = dlsym(h, name);
    if (!p) {
        std::printf("FAILED: symbol %s missing: %s\n", name, dlerror());
        std::exit(1);
    }
    return reinterpret_cast<T>(p);
}

// The third-party libraries loaded with the library allocate tables in their own start-up code;
// unloading them would leave those tables unreachable, which a leak checker reports against
// this program. Only the library's own load and unload are under test, so every other object
// loaded by then is kept resident (the library itself, at `path`, still unloads).
void KeepOtherObjectsResident(const char* path) {
    std::vector<std::string> names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* out) -> int {
            if (info->dlpi_name && *info->dlpi_name)
                static_cast<std::vector<std::string>*>(out)->push_back(info->dlpi_name);
            return 0;
        },
        &names);
    for (const auto& name : names)
        if (name != path) dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

}  // namespace

int main() {
    const char* path = QORKIT_LIBRARY_PATH;
    void* h1 = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!h1) {
        std::printf("FAILED: dlopen %s: %s\n", path, dlerror());
        return 1;
    }
    KeepOtherObjectsResident(path);
    void* h2 = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    Check(h2 != nullptr, "second dlopen succeeds");

    auto getTable = Sym<GetTableFn>(h1, "QorkitGetPackageInfoTable");
    auto initialize = Sym<VoidFn>(h1, "QorkitInitialize");
    auto finalize = Sym<VoidFn>(h1, "QorkitFinalize");
    auto counts = Sym<CountsFn>(h1, "QorkitUnitWorkCounts");
    auto setTrace = Sym<SetTraceFn>(h1, "QorkitSetUnitTraceProc");
    auto procStat = static_cast<double*>(dlsym(h1, "_ZN6qorkit8ProcStatE"));
    auto feedBack = static_cast<void**>(dlsym(h1, "_ZN6qorkit16MathFeedBackProcE"));

    std::int32_t n = 0;
    const UnitInfo* table = getTable(&n);
    const std::vector<std::string> order = {"Qor_qorbase", "Qor_qorcolors", "Qor_stringl",
                                            "Qor_dstruct", "Qor_filesys",   "Qor_cpuid"};
    Check(n == 6, "package table lists six units");
    for (std::int32_t i = 0; i < n && i < 6; ++i)
        Check(order[static_cast<std::size_t>(i)] == table[i].Name,
              "unit " + std::to_string(i) + " is " + order[static_cast<std::size_t>(i)]);

    Check(procStat && *procStat == 0.0, "ProcStat is 0.0 after load");
    Check(feedBack && *feedBack == nullptr, "MathFeedBackProc is empty after load");

    setTrace(Trace);
    // A host that runs the start-up again (a second load) must not repeat the work.
    initialize();
    table[2].Init();
    for (std::int32_t i = 0; i < n; ++i) {
        std::int32_t starts = -1, stops = -1;
        counts(i, &starts, &stops);
        Check(starts == 1 && stops == 0,
              std::string(table[i].Name) + " started once and not stopped");
    }
    table[2].Finalize();
    finalize();
    Check(gEvents.empty(), "balanced extra start-up and shut-down calls do no work");

    dlclose(h2);
    Check(dlopen(path, RTLD_NOW | RTLD_NOLOAD) != nullptr, "still loaded after one dlclose");
    dlclose(h1);  // balances the RTLD_NOLOAD reference
    Check(gEvents.empty(), "no shut-down while a handle remains");
    dlclose(h1);
    Check(dlopen(path, RTLD_NOW | RTLD_NOLOAD) == nullptr, "unloaded after the last dlclose");

    std::vector<std::string> want;
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        want.push_back("stop " + *it);
    Check(gEvents == want, "every unit stopped once, in reverse order");
    for (const auto& e : gEvents)
        std::printf("  %s\n", e.c_str());

    std::printf("%d passed, %d failed\n", gPasses, gFailures);
    return gFailures == 0 ? 0 : 1;
}
