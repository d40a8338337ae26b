// The few file-system and process calls that differ between Linux and
// Windows, behind one set of functions. Paths are UTF-8 everywhere in the
// program; on Windows they become UTF-16 only here. File descriptors are the
// C runtime's (read, write and close work on them on both systems), opened in
// binary mode.
#pragma once

#include <cstdio>
#include <string>

// Opens an existing regular file for reading and gives its size in bytes.
// Returns the descriptor, or -1 when the file does not open or is not a
// regular file (a folder, a device).
int openRegularFileForReading(const std::string& path, long long& size);
// Creates a file that must not exist yet, for writing. Returns the
// descriptor, or -1 with errno EEXIST when the name is taken (other errno
// values for other failures).
int createFreshFile(const std::string& path);
// Flushes what was written to the descriptor to the disk. 0 on success.
int flushFileToDisk(int fd);
// Renames from to to, replacing an existing to. True on success.
bool replaceFileByRename(const std::string& from, const std::string& to);
// Removes the file; a missing file is no failure worth telling.
void removeFile(const std::string& path);
// True when path names an existing regular file.
bool isRegularFile(const std::string& path);
// std::fopen on a UTF-8 path.
std::FILE* openStdioFile(const std::string& path, const char* mode);
// True when the standard error stream is a terminal (a console on Windows).
bool standardErrorIsTerminal();
// The folder of the running program, without a trailing separator; empty when unknown.
std::string runningProgramDir();
