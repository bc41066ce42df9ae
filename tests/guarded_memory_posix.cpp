#include "guarded_memory.hpp"

#include <new>
#include <sys/mman.h>
#include <unistd.h>

guarded_memory::guarded_memory(std::size_t wanted) : size(wanted)
{
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t usable = (wanted + page - 1) / page * page;
    mapped = usable + page;
    void* mapping = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
        throw std::bad_alloc();
    base = static_cast<unsigned char*>(mapping);
    if (::mprotect(base + usable, page, PROT_NONE) != 0)
        throw std::bad_alloc();
    data = base + usable - wanted;
}

guarded_memory::~guarded_memory()
{
    ::munmap(base, mapped);
}
