// Fuzz target: a stream of table operations (writes of arbitrary bytes, shape changes, sorting
// with and without key handlers, permutation edits, compaction, copies and searches) applied to
// a TStringArray and to a plain reference model; the first difference aborts with a description.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "../tests/dstruct/string_table_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qorkit::model::OpRunner runner;
    // Long inputs only repeat what short ones do; a cap keeps every run fast.
    const std::string diff = runner.Run(data, size, 400);
    if (!diff.empty()) {
        std::fprintf(stderr, "string table differs from its model: %s\n", diff.c_str());
        std::abort();
    }
    return 0;
}
