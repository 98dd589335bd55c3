// Address space reserved once and committed piece by piece, so that a growing block can stay
// where it is instead of being copied at every step. One implementation per platform.
#pragma once
#include <cstddef>

// The unit of reservations and commits; sizes passed below are multiples of it.
size_t VmPageSize();

// Reserves bytes of address space without backing them; null on failure.
void *VmReserve(size_t bytes);

// Makes bytes at address (inside a reservation, page aligned) readable and writable.
// Non-zero on success.
int VmCommit(void *address, size_t bytes);

// Gives back a whole reservation, committed pages included.
void VmRelease(void *base, size_t bytes);
