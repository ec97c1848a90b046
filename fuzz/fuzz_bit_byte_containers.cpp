// Fuzz target: a stream of operations on TBitFld, TByteMatrix and TFifo (sizes, writes past
// both ends, inversion, combinations, random fills with exact draw checks, mirrors, queue
// wrap-around and resizing) applied to the containers and to plain reference models; the first
// difference aborts with a description.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "../tests/dstruct/bit_byte_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qorkit::model::ContainerOpRunner runner;
    // Long inputs only repeat what short ones do; a cap keeps every run fast.
    const std::string diff = runner.Run(data, size, 2000);
    if (!diff.empty()) {
        std::fprintf(stderr, "container differs from its model: %s\n", diff.c_str());
        std::abort();
    }
    return 0;
}
