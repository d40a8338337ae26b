// The vormelin program on Windows: the viewer, optionally on a model named on
// the command line instead of asking for one; with any option, the headless
// command line instead. The program is a windowed one (no console window
// opens on a double click); the command line writes into the console of the
// program that started it, when there is one and the output is not redirected.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/entry.h"
#include "app/snapshot.h"
#include "base/file_system.h"
#include "base/utf16.h"
#include "platform/offscreen/offscreen_gl.h"
#include "platform/win32/win32_platform.h"

namespace {

// The arguments in UTF-8, from the process's UTF-16 command line.
std::vector<std::string> utf8Arguments()
{
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** list = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!list)
        return arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(win32PathFromSystem(list[i]));
    LocalFree(list);
    return arguments;
}

// A standard stream with no handle of its own (a windowed program started
// from a console) writes into the parent's console.
void connectToParentConsole()
{
    const bool outMissing = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_UNKNOWN;
    const bool errMissing = GetFileType(GetStdHandle(STD_ERROR_HANDLE)) == FILE_TYPE_UNKNOWN;
    if (!outMissing && !errMissing)
        return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    // The texts are UTF-8; so is the console's output from now on.
    SetConsoleOutputCP(CP_UTF8);
    if (outMissing)
        std::freopen("CONOUT$", "w", stdout);
    if (errMissing)
        std::freopen("CONOUT$", "w", stderr);
}

// The full path of a file named on the command line, in the program's form.
std::string fullPath(const std::string& path)
{
    const std::wstring wide = utf8ToWide(path);
    const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return path;
    std::wstring full(n, L'\0');
    const DWORD written = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    if (written == 0 || written >= n)
        return path;
    full.resize(written);
    return win32PathFromSystem(full.c_str());
}

} // namespace

int main(int, char**)
{
    const std::vector<std::string> arguments = utf8Arguments();
    std::vector<const char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(a.c_str());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(arguments.size());

    if (commandLineRequested(argc, argv.data())) {
        connectToParentConsole();
        snapshotContextMaker = makeOffscreenGlContext;
        const int status = runCommandLine(argc, argv.data());
        std::fflush(nullptr);
        return status;
    }
    if (argc > 2) {
        connectToParentConsole();
        std::fputs(usageText, stderr);
        return exitUsage;
    }
    std::string startModel;
    if (argc == 2) {
        // A mistyped name is told on the console, before any window.
        if (!isRegularFile(arguments[1])) {
            connectToParentConsole();
            std::fprintf(stderr, "Fichier introuvable : %s\n", arguments[1].c_str());
            return exitUsage;
        }
        startModel = fullPath(arguments[1]);
    }
    return runViewer(startModel);
}
