// OFF model files: reading a model chosen by the user into the model store,
// and writing the current model back as a new triangle-only OFF file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

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

// Asks the user for a model file and replaces the current model by its
// content; a cancelled dialog changes nothing. A faulty or unreadable file
// ends the program with "Fichier modèle erroné".
void openModel();

// Parses a whole OFF text of size bytes (text[size] must be a NUL) into the
// model store, which must be empty: vertices, faces, quads split, centre and
// radius. Returns false when the text is faulty (the store then holds
// whatever was read so far). Shows nothing and touches neither view nor topology.
bool parseModelText(const char* text, size_t size);

// The same for the first size bytes of an open file, read through a window
// kept from call to call; a file that ends early or cannot be read is faulty.
bool parseModelFile(int fd, size_t size);

// Sets modelCenter to the mean of the vertices in use and modelRadius to the
// largest distance from it along one axis (0 and a zero centre with no vertex).
void computeCenterAndRadius();

// Reads the model file at path into the model store (everything openModel
// does after the dialog): the title, the parse, quads split, centre and
// radius, the view reset and the topology. A faulty file ends the program.
void loadModelFile(const std::string& path);

// Writes the current model next to modelPath as "<name>_n.off", makes it the
// current modelPath, updates the title and confirms. A file that cannot be
// written is reported as an error and changes nothing. Does nothing without a model.
void saveModel();

// The file name of a path: the part after its last '/'.
std::string modelFileName(const std::string& path);
// "Vormelin 0.35 - modèle affiché : " followed by the file name of path.
std::string modelWindowTitle(const std::string& path);
