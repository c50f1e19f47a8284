// The heap's high-water mark: every allocation of the process (malloc and
// its relatives, and operator new, which comes down to malloc) is counted
// by the bench program's own malloc, which hands the work to glibc's.
#pragma once

#include <cstddef>

// Bytes allocated and not yet freed.
size_t HeapInUse();
// Starts a new high-water mark at what is in use now.
void ResetHeapPeak();
// The most in use at once since the last reset.
size_t HeapPeak();
