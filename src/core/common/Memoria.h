#pragma once
#include <cstddef>

// Before a large buffer is first touched: asks the system for 2 MB pages over it, so that
// filling a grid of hundreds of megabytes costs hundreds of page faults, not hundreds of
// thousands. Only advice; nothing changes where it is not taken.
void PaginasGrandes(const void* inicio, size_t bytes);

// Gives back to the system the free memory the allocator keeps, when a phase that made many
// small allocations is over: otherwise it stays counted against the next phase's peak.
void DevolverMemoriaLivre();
