// OFF model files: reading a model chosen by the user into a mesh value,
// and writing a mesh back as a new triangle-only OFF file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/outcome.h"
#include "model/mesh.h"

// Longest accepted line of a model file, line feed not counted (a carriage return is counted).
inline constexpr int offMaxLineLength = 150;

// Results of nextRawLine and nextDataLine.
enum OffLineCode {
    lineRead = 0,          // a line ended by a line feed; the cursor is moved past the feed
    lineLastRead = 1,      // the rest of the text, without line feed; the cursor stays
    lineTooLong = 2,       // a line ended by a line feed but longer than maxLength; empty, cursor stays
    lineLastTooLong = 3,   // the rest of the text, no line feed, longer than maxLength; empty, cursor stays
};

// Takes the next line of the NUL-terminated text at cursor. line is set to a
// view into the text (without its line feed), or to an empty view for codes 2
// and 3. The text is never modified.
int nextRawLine(const char*& cursor, std::string_view& line, int maxLength);

// Takes the next significant line: comment lines (first character '*' or '#')
// and blank lines (every character but the last one a space) are skipped. A
// non-zero code of nextRawLine is returned at once with its line untested.
int nextDataLine(const char*& cursor, std::string_view& line, int maxLength);

// True when the line is blank: every character except its last one is a space.
bool isBlankLine(std::string_view line);

// Parses a whole OFF text of size bytes (text[size] must be a NUL) into the
// empty mesh: vertices, faces, quads split, centre and radius. Returns false
// with the reason (where and what, in French) when the text is faulty; the
// mesh then holds whatever was read so far and is to be discarded.
bool parseModelText(const char* text, size_t size, Mesh& mesh, std::string& reason);

// The same for the first size bytes of an open file, read through a window
// kept from call to call; a file that ends early or cannot be read is faulty.
bool parseModelFile(int fd, size_t size, Mesh& mesh, std::string& reason);

// Reads the file at path into mesh, which it replaces: parsed, quads split,
// centre and radius computed, modelPath naming the file, a new revision, no
// topology. A file that does not open, is not a regular file or is faulty
// gives outcomeFaultyModel with the reason, and an empty mesh.
Outcome readModelFile(const std::string& path, Mesh& mesh, std::string& reason);

// Writes the mesh as a triangle-only OFF file at path, through a temporary
// file renamed into place once complete; an existing file is replaced as
// base/output_target.h tells (links followed, mode kept, anything but a
// writable regular file refused). False when it could not be written (an
// existing file is then left as it was).
bool writeModelFile(const Mesh& mesh, const std::string& path);

// The name the model is saved under: path with its ".off" (last four
// characters of the file name) replaced by "_n.off".
std::string savedModelPath(const std::string& path);
