// What happens when the heap is exhausted.
#pragma once

// The program does not try to go on without memory: it ends at once. Readers of
// outside bytes check sizes before they allocate, so only a machine truly out of
// memory gets here.
[[noreturn]] void outOfMemory();
