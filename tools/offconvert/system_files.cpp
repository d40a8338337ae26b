// offconvert's system calls, on Linux and on Windows.
#include "system_files.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace {

std::wstring wide(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), n);
    return result;
}

std::string narrow(const wchar_t* text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return std::string();
    std::string result(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), n, nullptr, nullptr);
    result.resize(static_cast<size_t>(n - 1));
    return result;
}

} // namespace

std::vector<std::string> programArguments(int, char**)
{
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** list = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!list)
        return arguments;
    for (int i = 0; i < count; ++i) {
        std::string argument = narrow(list[i]);
        for (char& c : argument)
            if (c == '\\')
                c = '/';
        arguments.push_back(argument);
    }
    LocalFree(list);
    return arguments;
}

std::FILE* openInputFile(const std::string& path) { return _wfopen(wide(path).c_str(), L"rb"); }

std::FILE* createOutputFile(const std::string& path)
{
    int fd = _wopen(wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return nullptr;
    std::FILE* file = _fdopen(fd, "wb");
    if (!file)
        _close(fd);
    return file;
}

bool renameReplacing(const std::string& from, const std::string& to)
{
    return MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void removeOutputFile(const std::string& path) { _wremove(wide(path).c_str()); }

bool flushToDisk(std::FILE* file) { return std::fflush(file) == 0 && _commit(_fileno(file)) == 0; }

#else

#include <unistd.h>

std::vector<std::string> programArguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

std::FILE* openInputFile(const std::string& path) { return std::fopen(path.c_str(), "rb"); }

std::FILE* createOutputFile(const std::string& path) { return std::fopen(path.c_str(), "wbx"); }

bool renameReplacing(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void removeOutputFile(const std::string& path) { std::remove(path.c_str()); }

bool flushToDisk(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

#endif
