// The portable file calls on Windows: UTF-8 paths with accents reach the
// right file, a fresh file refuses a taken name, a rename replaces an
// existing file, and only regular files count as regular.
#include <gtest/gtest.h>

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <io.h>
#include <string>

#include "base/file_system.h"
#include "base/utf16.h"

namespace {

// A fresh folder under the system's temporary folder, named with accents.
std::string makeFolder()
{
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, base);
    std::wstring folder = std::wstring(base) + L"vormelin modèle é " + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return wideToUtf8(folder);
}

std::string readAll(const std::string& path)
{
    std::FILE* f = openStdioFile(path, "rb");
    if (!f)
        return "<absent>";
    std::string text;
    char buffer[256];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    std::fclose(f);
    return text;
}

void writeText(int fd, const std::string& text)
{
    ASSERT_EQ(_write(fd, text.data(), static_cast<unsigned>(text.size())), static_cast<int>(text.size()));
}

TEST(FileSystemWin32, AccentedPathsCreateReplaceAndRead)
{
    const std::string folder = makeFolder();
    const std::string target = folder + "/tore é.off";
    const std::string temporary = folder + "/tore é.off.tmp";

    int fd = createFreshFile(target);
    ASSERT_GE(fd, 0);
    writeText(fd, "ancien\r\n");
    EXPECT_EQ(flushFileToDisk(fd), 0);
    _close(fd);
    // Binary: the line end stays as written.
    EXPECT_EQ(readAll(target), "ancien\r\n");

    // The name is taken now.
    EXPECT_LT(createFreshFile(target), 0);
    EXPECT_EQ(errno, EEXIST);

    fd = createFreshFile(temporary);
    ASSERT_GE(fd, 0);
    writeText(fd, "nouveau\n");
    _close(fd);
    EXPECT_TRUE(replaceFileByRename(temporary, target));
    EXPECT_EQ(readAll(target), "nouveau\n");
    EXPECT_FALSE(isRegularFile(temporary));

    long long size = -1;
    fd = openRegularFileForReading(target, size);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(size, 8);
    _close(fd);

    // A folder opens as nothing, and neither does a missing file.
    EXPECT_TRUE(isRegularFile(target));
    EXPECT_FALSE(isRegularFile(folder));
    EXPECT_LT(openRegularFileForReading(folder, size), 0);
    EXPECT_LT(openRegularFileForReading(folder + "/absent.off", size), 0);
    EXPECT_FALSE(replaceFileByRename(folder + "/absent.off", target));
    EXPECT_EQ(readAll(target), "nouveau\n");

    removeFile(target);
    EXPECT_FALSE(isRegularFile(target));
    RemoveDirectoryW(utf8ToWide(folder).c_str());
}

TEST(FileSystemWin32, ProgramFolderUsesSlashes)
{
    const std::string dir = runningProgramDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.find('\\'), std::string::npos);
    EXPECT_NE(dir.back(), '/');
    EXPECT_TRUE(isRegularFile(dir + "/file_system_test.exe"));
}

TEST(Utf16, RoundTripKeepsAccents)
{
    const std::string text = "Vormelin 0.35 - modèle affiché : tore.off";
    EXPECT_EQ(utf8ToWide(text).size(), text.size() - 2);
    EXPECT_EQ(wideToUtf8(utf8ToWide(text)), text);
    EXPECT_EQ(utf8ToWide(""), L"");
}

} // namespace
