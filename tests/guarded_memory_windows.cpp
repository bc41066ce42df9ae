#include "guarded_memory.hpp"

#include <new>
#include <windows.h>

guarded_memory::guarded_memory(std::size_t wanted) : size(wanted)
{
    SYSTEM_INFO system;
    ::GetSystemInfo(&system);
    const std::size_t page = system.dwPageSize;
    const std::size_t usable = (wanted + page - 1) / page * page;
    mapped = usable + page;
    base = static_cast<unsigned char*>(::VirtualAlloc(nullptr, mapped, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD before = 0;
    if (base == nullptr || !::VirtualProtect(base + usable, page, PAGE_NOACCESS, &before))
        throw std::bad_alloc();
    data = base + usable - wanted;
}

guarded_memory::~guarded_memory()
{
    ::VirtualFree(base, 0, MEM_RELEASE);
}
