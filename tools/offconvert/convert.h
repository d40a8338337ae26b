// The converter's core: a bare numeric mesh text (V, F, V times x y z, F
// times "n a b c") turned into OFF text, one vertex or face at a time, with
// every coordinate passed through single precision. It knows nothing of
// files or arguments, so that it can be driven on any stream.
#pragma once

#include <cstdio>
#include <string>

// Reads the numeric text from in and writes the OFF text to out, streaming.
// Returns true on success. Otherwise problem describes, in French, what was
// expected and what stood there instead ("fin du fichier avant ..." or "...
// n'est pas un nombre : « x »"), names with its line a face index that is no
// vertex (outside 0 to V - 1), or tells that the output could not be written.
bool convertNumericMesh(std::FILE* in, std::FILE* out, std::string& problem);

// Name of the output for an input path: the path without its last four
// characters followed by "off" (cube.mesh gives cube.off, x.txt gives xoff).
// When the file name itself has fewer than four characters, ".off" is
// appended instead, so the output always stays next to the input.
std::string outputPathFor(const std::string& inputPath);
