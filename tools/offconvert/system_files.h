// What offconvert needs from the system beyond standard C++: its arguments in
// UTF-8, and files opened, created, renamed and removed by UTF-8 paths. On
// Linux these are the C library's calls; on Windows the UTF-16 ones.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The program's arguments in UTF-8, the program's name first. On Windows they
// come from the process's UTF-16 command line, with '\' turned into '/'.
std::vector<std::string> programArguments(int argc, char** argv);
// Opens an existing file for binary reading; null when it does not open.
std::FILE* openInputFile(const std::string& path);
// Creates a file that must not exist yet, for binary writing; null with errno
// EEXIST when the name is taken.
std::FILE* createOutputFile(const std::string& path);
// Renames from to to, replacing an existing to; true on success.
bool renameReplacing(const std::string& from, const std::string& to);
// Removes the file if it exists.
void removeOutputFile(const std::string& path);
// Writes what the stream holds through to the disk; false when that failed.
bool flushToDisk(std::FILE* file);
