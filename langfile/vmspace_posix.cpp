// Reservations as inaccessible anonymous mappings; a commit opens pages for reading and writing.
#include "langfile/vmspace.h"

#include <sys/mman.h>
#include <unistd.h>

size_t VmPageSize()
{
    static const size_t pageSize = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return pageSize;
}

void *VmReserve(size_t bytes)
{
    void *base = mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    return base == MAP_FAILED ? nullptr : base;
}

int VmCommit(void *address, size_t bytes)
{
    return mprotect(address, bytes, PROT_READ | PROT_WRITE) == 0;
}

void VmRelease(void *base, size_t bytes)
{
    if (base) munmap(base, bytes);
}
