#pragma once

#include <cstddef>

namespace swdtest {

// Counts the bytes that operator new hands out while it lives: an upper bound on the memory a
// call takes, whatever it frees again.
class AllocationCounter {
public:
    AllocationCounter();
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;
    std::size_t Bytes() const;
};

} // namespace swdtest
