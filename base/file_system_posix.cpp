// The file-system calls on Linux: POSIX.
#ifndef _WIN32
#include "base/file_system.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

int openRegularFileForReading(const std::string& path, long long& size)
{
    // Only a regular file that opens is read; anything else is faulty.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        if (fd >= 0)
            close(fd);
        return -1;
    }
    size = static_cast<long long>(info.st_size);
    return fd;
}

int createFreshFile(const std::string& path) { return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }

int flushFileToDisk(int fd) { return fsync(fd); }

bool replaceFileByRename(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void removeFile(const std::string& path) { unlink(path.c_str()); }

bool isRegularFile(const std::string& path)
{
    struct stat file;
    return stat(path.c_str(), &file) == 0 && S_ISREG(file.st_mode);
}

std::FILE* openStdioFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

bool standardErrorIsTerminal() { return isatty(2); }

std::string runningProgramDir()
{
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return std::string();
    std::string path(buffer, static_cast<size_t>(n));
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
#endif
