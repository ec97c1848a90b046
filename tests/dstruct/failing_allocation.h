// Makes the test program's allocations of at least a given size fail, so that the memory
// messages of the library's containers can be checked. The replacement operator new lives in
// bit_containers_test.cpp (one definition for the whole program); it is inert until armed.
#pragma once

#include <atomic>
#include <cstddef>

namespace qorkit::testing {

/// Allocations of at least this many bytes throw std::bad_alloc; 0 turns the failure off.
extern std::atomic<std::size_t> gFailAllocationsFrom;

/// Arms the failure for the lifetime of the object.
struct FailAllocationsFrom {
    explicit FailAllocationsFrom(std::size_t Bytes) { gFailAllocationsFrom = Bytes; }
    ~FailAllocationsFrom() { gFailAllocationsFrom = 0; }
    FailAllocationsFrom(const FailAllocationsFrom&) = delete;
    FailAllocationsFrom& operator=(const FailAllocationsFrom&) = delete;
};

}  // namespace qorkit::testing
