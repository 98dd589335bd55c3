// Reservations and commits through VirtualAlloc.
#include "langfile/vmspace.h"

#include <windows.h>

size_t VmPageSize()
{
    static size_t pageSize;
    if (!pageSize) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        pageSize = info.dwPageSize;
    }
    return pageSize;
}

void *VmReserve(size_t bytes)
{
    return VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_NOACCESS);
}

int VmCommit(void *address, size_t bytes)
{
    return VirtualAlloc(address, bytes, MEM_COMMIT, PAGE_READWRITE) != nullptr;
}

void VmRelease(void *base, size_t)
{
    if (base) VirtualFree(base, 0, MEM_RELEASE);
}
