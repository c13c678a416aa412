#include "filesizelimit.h"

FileSizeLimit::FileSizeLimit(long bytes)
{
    // The signal a write past the limit raises is left as the program set it
    // (initTestProgram does what the program does as it starts): a test under
    // the limit goes on only if the program survives that write.
    getrlimit(RLIMIT_FSIZE, &m_before);
    rlimit limited = m_before;
    limited.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limited);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &m_before);
}
