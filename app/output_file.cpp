// Output files written under a temporary name, then renamed into place.
#include "app/output_file.h"
#include "base/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

bool beginOutputFile(OutputFile& file, const std::string& requested)
{
    file.failed = false;
    file.fd = -1;
    // The file the path names, links followed; refused when it may not be replaced.
    if (resolveOutputTarget(requested, file.target) != outputAllowed)
        return false;
    const std::string& path = file.path = file.target.path;
    // The same naming as the model's save, so that a leftover is recognised alike.
    for (int attempt = 0; attempt < 100 && file.fd < 0; ++attempt) {
        file.temporary = path + ".tmp" + std::to_string(getpid()) + "_" + std::to_string(attempt);
        file.fd = createFreshFile(file.temporary);
        if (file.fd < 0 && errno != EEXIST)
            return false;
    }
    return file.fd >= 0;
}

void writeOutput(OutputFile& file, const char* data, size_t size)
{
    size_t done = 0;
    while (!file.failed && done < size) {
        ssize_t n = write(file.fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            file.failed = true;
        else
            done += static_cast<size_t>(n);
    }
}

bool finishOutputFile(OutputFile& file)
{
    bool written = !file.failed;
    written = keepTargetMode(file.fd, file.target) && written;
    written = flushFileToDisk(file.fd) == 0 && written;
    written = close(file.fd) == 0 && written;
    file.fd = -1;
    if (written && replaceFileByRename(file.temporary, file.path))
        return true;
    removeFile(file.temporary);
    return false;
}

bool writeWholeFile(const std::string& path, const char* data, size_t size)
{
    OutputFile file;
    if (!beginOutputFile(file, path))
        return false;
    writeOutput(file, data, size);
    return finishOutputFile(file);
}
