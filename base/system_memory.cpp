// The memory left to the process: on Linux from /proc/meminfo and the
// address-space limit, on Windows from the system's memory status.
#include "base/system_memory.h"

#ifdef _WIN32

#include <windows.h>

long long availableMemoryBytes()
{
    MEMORYSTATUSEX status;
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return -1;
    // The physical memory free, and what is left of the commit limit and of
    // the process's address space: the smallest bounds the allocation.
    unsigned long long left = status.ullAvailPhys;
    if (status.ullAvailPageFile < left)
        left = status.ullAvailPageFile;
    if (status.ullAvailVirtual < left)
        left = status.ullAvailVirtual;
    return static_cast<long long>(left);
}

#else

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

// MemAvailable from /proc/meminfo in bytes, or -1.
long long memAvailable()
{
    std::FILE* file = std::fopen("/proc/meminfo", "r");
    if (!file)
        return -1;
    long long kib = -1;
    char line[256];
    while (std::fgets(line, sizeof line, file))
        if (std::strncmp(line, "MemAvailable:", 13) == 0) {
            if (std::sscanf(line + 13, "%lld", &kib) != 1)
                kib = -1;
            break;
        }
    std::fclose(file);
    return kib < 0 ? -1 : kib * 1024;
}

// Bytes of address space the process uses now (the first field of
// /proc/self/statm, in pages), or -1.
long long addressSpaceInUse()
{
    std::FILE* file = std::fopen("/proc/self/statm", "r");
    if (!file)
        return -1;
    long long pages = -1;
    if (std::fscanf(file, "%lld", &pages) != 1)
        pages = -1;
    std::fclose(file);
    const long pageSize = sysconf(_SC_PAGESIZE);
    return pages < 0 || pageSize <= 0 ? -1 : pages * pageSize;
}

} // namespace

long long availableMemoryBytes()
{
    long long left = memAvailable();
    struct rlimit limit;
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        const long long used = addressSpaceInUse();
        const long long cap = static_cast<long long>(limit.rlim_cur);
        const long long underLimit = used < 0 ? cap : (cap > used ? cap - used : 0);
        if (left < 0 || underLimit < left)
            left = underLimit;
    }
    return left;
}

#endif
