#include "memorytuning.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

void tuneMemoryForLargeLists()
{
#ifdef __GLIBC__
    mallopt(M_MXFAST, 0);
#endif
}
