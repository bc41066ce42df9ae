// Memory that ends where an inaccessible page begins, so that a kernel that
// reads or writes one byte too far faults at once.
#pragma once

#include <cstddef>

struct guarded_memory {
    unsigned char* base = nullptr;  // the mapping, guard page included
    std::size_t mapped = 0;
    unsigned char* data = nullptr;  // `size` bytes that end at the guard page
    std::size_t size = 0;

    explicit guarded_memory(std::size_t wanted);
    ~guarded_memory();
    guarded_memory(const guarded_memory&) = delete;
    guarded_memory& operator=(const guarded_memory&) = delete;
};
