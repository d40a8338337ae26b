// Files the command line writes besides the model (the (u,v) export and the
// snapshot image): written under a temporary name next to their path and
// renamed into place once complete, so that no half-written file is ever
// left and an existing file is replaced only by a complete one.
#pragma once

#include <cstddef>
#include <string>

#include "base/output_target.h"

// An output file in progress: its final path, the temporary file and whether a write failed.
struct OutputFile {
    std::string path;
    std::string temporary;
    int fd = -1;
    bool failed = false;
    // The file being replaced, whose mode the new one takes.
    OutputTarget target;
};

// Creates a fresh temporary file next to the file path names (links followed,
// base/output_target.h). False when that file may not be replaced or none
// could be created (the folder is missing or not writable); nothing is left then.
bool beginOutputFile(OutputFile& file, const std::string& path);
// Appends size bytes; a failure is remembered and reported by finishOutputFile.
void writeOutput(OutputFile& file, const char* data, size_t size);
// Flushes the file to disk and renames it to its path. False when any write
// failed or the rename was refused; the temporary file is removed then.
bool finishOutputFile(OutputFile& file);
// Writes size bytes as the whole content of the file at path, through a temporary file.
bool writeWholeFile(const std::string& path, const char* data, size_t size);
