#pragma once
// A disk that fills up, for one test: while the object lives, no file of this
// process can grow beyond `bytes`.

#include <sys/resource.h>

class FileSizeLimit
{
public:
    explicit FileSizeLimit(long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_before{};
};
