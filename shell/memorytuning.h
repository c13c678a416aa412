#pragma once
// How the process hands out memory.
//
// A refill of a long list frees hundreds of thousands of small table items at
// once (the salary list's 15,000 rows are 255,000 items). glibc keeps small
// freed blocks in its "fast bins" and merges all of them at the next large
// allocation; that merge cost more than the whole rest of a refill (about
// 100 ms of the 140 ms that showing one month of salary took after the full
// list). Without fast bins each block is merged as it is freed, and small
// allocations are still served from the per-thread cache. Measured on every
// list benchmark: no list got slower, the long refills got 30-70 % faster.
// Blocks of some megabytes (the pictures of printed pages) are mapped and
// given back to the system as each is freed.

// Called once at start, before the first window. Does nothing where the C
// library is not glibc.
void tuneMemoryForLargeLists();
