// The converter's parser and writer on arbitrary bytes, driven on memory
// streams. A refused input must say why; an accepted one must give the exact
// header, one line per vertex and face, no line longer than the viewer's
// reader accepts, every corner naming an existing vertex, and a text that
// reader loads with the same counts.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "convert.h"
#include "fuzz/fuzz_support.h"
#include "model/off_file.h"

namespace {

struct ConvertedText {
    bool converted;
    std::string problem;
    std::string text;
};

ConvertedText convert(const uint8_t* data, size_t size)
{
    // A stream over no bytes at all is not available everywhere; an empty file is.
    std::FILE* in = size > 0 ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : std::fopen("/dev/null", "rb");
    char* buffer = nullptr;
    size_t length = 0;
    std::FILE* out = open_memstream(&buffer, &length);
    if (!in || !out)
        std::abort();
    ConvertedText result;
    result.converted = convertNumericMesh(in, out, result.problem);
    std::fclose(in);
    std::fclose(out);
    result.text.assign(buffer, length);
    std::free(buffer);
    return result;
}

// Splits the text at its line feeds; the last line must end with one.
bool splitLines(const std::string& text, std::vector<std::string>& lines)
{
    size_t at = 0;
    while (at < text.size()) {
        size_t feed = text.find('\n', at);
        if (feed == std::string::npos)
            return false;
        lines.push_back(text.substr(at, feed - at));
        at = feed + 1;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ConvertedText r = convert(data, size);
    if (!r.converted) {
        if (r.problem.empty())
            requireNoFault("a refused input without a problem text", "refusal");
        return 0;
    }
    std::vector<std::string> lines;
    if (!splitLines(r.text, lines) || lines.size() < 2 || lines[0] != "OFF")
        requireNoFault("the output does not start with its header line", "output");
    int vertices = -1, faces = -1, edges = -1;
    char rest = 0;
    if (std::sscanf(lines[1].c_str(), " %d %d %d%c", &vertices, &faces, &edges, &rest) != 3 || vertices < 0 ||
        faces < 0 || edges != 0 || lines[1] != " " + std::to_string(vertices) + " " + std::to_string(faces) + " 0")
        requireNoFault("counts line \"" + lines[1] + "\"", "output");
    if (lines.size() != 2 + static_cast<size_t>(vertices) + static_cast<size_t>(faces))
        requireNoFault("output has " + std::to_string(lines.size()) + " lines", "output");
    bool cornersInRange = true;
    for (size_t i = 2; i < lines.size(); ++i) {
        if (lines[i].size() > offMaxLineLength)
            requireNoFault("line " + std::to_string(i) + " is longer than the reader accepts", "output");
        if (i >= 2 + static_cast<size_t>(vertices)) {
            int a, b, c;
            if (std::sscanf(lines[i].c_str(), "3 %d %d %d", &a, &b, &c) != 3)
                requireNoFault("face line \"" + lines[i] + "\"", "output");
            cornersInRange = cornersInRange && a >= 0 && a < vertices && b >= 0 && b < vertices && c >= 0 &&
                             c < vertices;
        }
    }
    if (!cornersInRange)
        requireNoFault("a face names no vertex", "output");
    if (vertices < 1 || faces < 1)
        return 0;

    // The viewer's reader takes what the converter writes.
    Mesh mesh;
    std::string reason;
    bool loaded = parseModelText(r.text.c_str(), r.text.size(), mesh, reason);
    if (loaded != cornersInRange)
        requireNoFault(loaded ? "the reader takes corners out of range"
                              : "the reader refuses the converter's output: " + reason,
                       "reader");
    if (loaded && (mesh.vertexCount != vertices || mesh.faceCount != faces))
        requireNoFault("the reader finds other counts", "reader");
    return 0;
}
