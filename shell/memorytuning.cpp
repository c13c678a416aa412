#include "memorytuning.h"

#include <cstdlib> // defines __GLIBC__ where the C library is glibc

#ifdef __GLIBC__
#include <malloc.h>
#endif

void tuneMemoryForLargeLists()
{
#ifdef __GLIBC__
    mallopt(M_MXFAST, 0);
    // A printed page is a picture of some megabytes, and a long statement
    // hundreds of them, made and freed on several threads. Above a fixed
    // size every block is mapped and returned as it is freed; by default the
    // bound rises with each such block freed, and the freed pages stayed in
    // the process (some 300 MB after a 10,000-row statement).
    mallopt(M_MMAP_THRESHOLD, 4 * 1024 * 1024);
#endif
}
