// The file-system calls on Windows: UTF-16 paths through the wide C runtime
// and Win32 functions, binary descriptors that no child process inherits.
#ifdef _WIN32
#include "base/file_system.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "base/utf16.h"

int openRegularFileForReading(const std::string& path, long long& size)
{
    int fd = _wopen(utf8ToWide(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    struct _stat64 info;
    if (fd < 0 || _fstat64(fd, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG || info.st_size < 0) {
        if (fd >= 0)
            _close(fd);
        return -1;
    }
    size = static_cast<long long>(info.st_size);
    return fd;
}

int createFreshFile(const std::string& path)
{
    return _wopen(utf8ToWide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}

int flushFileToDisk(int fd) { return _commit(fd); }

bool replaceFileByRename(const std::string& from, const std::string& to)
{
    return MoveFileExW(utf8ToWide(from).c_str(), utf8ToWide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void removeFile(const std::string& path) { _wunlink(utf8ToWide(path).c_str()); }

bool isRegularFile(const std::string& path)
{
    struct _stat64 file;
    return _wstat64(utf8ToWide(path).c_str(), &file) == 0 && (file.st_mode & _S_IFMT) == _S_IFREG;
}

std::FILE* openStdioFile(const std::string& path, const char* mode)
{
    return _wfopen(utf8ToWide(path).c_str(), utf8ToWide(mode).c_str());
}

bool standardErrorIsTerminal()
{
    // A console, whether the C runtime's descriptor 2 was set up on it or not.
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    return _isatty(2) || (handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode));
}

std::string runningProgramDir()
{
    std::wstring buffer(260, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return std::string();
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    std::string path = wideToUtf8(buffer);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
#endif
