// Reading an OFF model: line access to the text (raw lines limited in
// length, significant lines with comments and blank lines skipped), parsing
// into the model store (header, counts, vertex and face lines, quads split
// into four triangles around an added centre vertex, then the model's centre
// and radius), and opening the file. The text comes either whole from memory
// or from a file through a small window that slides along it: a window reused
// from load to load costs far less than a fresh block of the file's size, and
// gives exactly the same lines.
#include <fcntl.h>
#ifndef _WIN32
#include <sys/mman.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "model/off_file.h"
#include "base/store.h"
#include "base/file_system.h"

// ---- Lines of the text

int nextRawLine(const char*& cursor, std::string_view& line, int maxLength)
{
    // The line runs to the next line feed or to the terminating NUL.
    size_t length = std::strcspn(cursor, "\n");
    bool fed = cursor[length] == '\n';
    if (length > static_cast<size_t>(maxLength)) {
        line = std::string_view();
        return fed ? lineTooLong : lineLastTooLong;
    }
    line = std::string_view(cursor, length);
    if (!fed)
        return lineLastRead;
    cursor += length + 1;
    return lineRead;
}

bool isBlankLine(std::string_view line)
{
    for (size_t i = 0; i + 1 < line.size(); ++i)
        if (line[i] != ' ')
            return false;
    return true;
}

int nextDataLine(const char*& cursor, std::string_view& line, int maxLength)
{
    for (;;) {
        int code = nextRawLine(cursor, line, maxLength);
        if (code != lineRead)
            return code;
        if (!line.empty() && (line[0] == '*' || line[0] == '#'))
            continue;
        if (isBlankLine(line))
            continue;
        return lineRead;
    }
}

// ---- Parsing

namespace {

// White space as formatted input knows it.
inline bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

inline void skipSpace(const char*& p, const char* end)
{
    while (p < end && isSpace(*p))
        ++p;
}

// Start of the digits of a number at p, past an explicit '+' (which the fast
// conversions refuse); null when a second sign follows the '+'.
inline const char* afterPlus(const char* p, const char* end)
{
    if (p < end && *p == '+') {
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            return nullptr;
    }
    return p;
}

// Reads one integer after optional white space; false when none stands there
// or it does not fit in an int. p moves past the number on success.
inline bool readInt(const char*& p, const char* end, int& value)
{
    skipSpace(p, end);
    const char* q = afterPlus(p, end);
    if (!q)
        return false;
    auto [next, ec] = std::from_chars(q, end, value);
    if (ec != std::errc())
        return false;
    p = next;
    return true;
}

// Reads one real (fixed or exponent notation, inf, nan) after optional white
// space; false when none stands there. A value beyond the double range gives
// an infinity, one below it a zero or denormal, as formatted input does.
inline bool readReal(const char*& p, const char* end, double& value)
{
    skipSpace(p, end);
    const char* q = afterPlus(p, end);
    if (!q)
        return false;
    auto [next, ec] = std::from_chars(q, end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Rare: let the C library give the saturated value of the same digits.
        char digits[offMaxLineLength + 2];
        size_t length = static_cast<size_t>(next - p);
        if (length > offMaxLineLength)
            return false;
        std::memcpy(digits, p, length);
        digits[length] = '\0';
        value = std::strtod(digits, nullptr);
    } else if (ec != std::errc()) {
        return false;
    }
    p = next;
    return true;
}

// Reads up to count integers; returns how many were read before the first failure.
inline int readInts(std::string_view line, int* values, int count)
{
    const char* p = line.data();
    const char* end = p + line.size();
    int n = 0;
    while (n < count && readInt(p, end, values[n]))
        ++n;
    return n;
}

// True when the first white-space-delimited word of the line is exactly "OFF".
bool headerWordIsOff(std::string_view line)
{
    const char* p = line.data();
    const char* end = p + line.size();
    skipSpace(p, end);
    const char* word = p;
    while (p < end && !isSpace(*p))
        ++p;
    return std::string_view(word, static_cast<size_t>(p - word)) == "OFF";
}

// Gives the array room for exactly n entries, its fresh pages mapped in by
// one call: touching fresh pages one at a time costs many times more. The
// store's own allocation then fills that room without moving the array.
template <typename T> void reserveMapped(std::vector<T>& array, size_t n)
{
    array.reserve(n);
#ifdef MADV_POPULATE_WRITE
    const uintptr_t page = 4096;
    uintptr_t first = (reinterpret_cast<uintptr_t>(array.data()) + page - 1) & ~(page - 1);
    uintptr_t last = (reinterpret_cast<uintptr_t>(array.data() + n)) & ~(page - 1);
    if (n * sizeof(T) >= (64u << 10) && last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);  // a refusal only costs speed
#endif
}

// Shortest possible significant vertex line ("0 0 0") and face line
// ("3 0 1 2"), line feed included.
constexpr long long shortestVertexLine = 6;
constexpr long long shortestFaceLine = 8;

// Splits the noted quads, in file order: each adds its centre vertex after the
// file's vertices and three triangles after the file's faces; its own slot
// keeps the first triangle. quads holds (slot, fourth corner) pairs.
void splitQuads(const std::vector<int>& quads, int fileVertices, int fileFaces)
{
    int quadCount = static_cast<int>(quads.size() / 2);
    int newVertices = fileVertices + quadCount;
    int newFaces = fileFaces + 3 * quadCount;
    for (std::vector<double>* array : {&vertexX, &vertexY, &vertexZ})
        reserveMapped(*array, static_cast<size_t>(newVertices));
    for (std::vector<int>* array : {&faceA, &faceB, &faceC})
        reserveMapped(*array, static_cast<size_t>(newFaces));
    growDoubleArray(vertexX, fileVertices, newVertices);
    growDoubleArray(vertexY, fileVertices, newVertices);
    growDoubleArray(vertexZ, fileVertices, newVertices);
    growIntArray(faceA, fileFaces, newFaces);
    growIntArray(faceB, fileFaces, newFaces);
    growIntArray(faceC, fileFaces, newFaces);
    for (int q = 0; q < quadCount; ++q) {
        int slot = quads[2 * q];
        int a = faceA[slot], b = faceB[slot], c = faceC[slot], d = quads[2 * q + 1];
        int m = fileVertices + q;
        vertexX[m] = (vertexX[a] + vertexX[b] + vertexX[c] + vertexX[d]) / 4;
        vertexY[m] = (vertexY[a] + vertexY[b] + vertexY[c] + vertexY[d]) / 4;
        vertexZ[m] = (vertexZ[a] + vertexZ[b] + vertexZ[c] + vertexZ[d]) / 4;
        int n = fileFaces + 3 * (q + 1);
        faceA[n - 3] = b, faceB[n - 3] = c, faceC[n - 3] = m;
        faceA[n - 2] = c, faceB[n - 2] = d, faceC[n - 2] = m;
        faceA[n - 1] = d, faceB[n - 1] = a, faceC[n - 1] = m;
        faceC[slot] = m;
    }
    vertexCount = newVertices;
    faceCount = newFaces;
}

// The text being parsed: what stands between cursor and end (a NUL) is held
// in memory; for a file, `unread` more bytes follow in the file.
struct TextSource {
    const char* cursor = nullptr;
    const char* end = nullptr;
    int fd = -1;
    size_t unread = 0;
    char* window = nullptr;
    size_t windowSize = 0;
    // The file could not be read to its end.
    bool failed = false;

    // Makes at least `need` bytes past the cursor available, or the whole
    // rest of the text when it is shorter. A NUL in the file ends the text.
    void ensure(size_t need)
    {
        if (unread == 0 || static_cast<size_t>(end - cursor) >= need)
            return;
        size_t keep = static_cast<size_t>(end - cursor);
        std::memmove(window, cursor, keep);
        size_t want = std::min(windowSize - keep, unread);
        size_t got = 0;
        while (got < want) {
            ssize_t n = read(fd, window + keep + got, want - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<size_t>(n);
        }
        if (got < want) {
            failed = true;
            unread = 0;
        } else {
            unread -= got;
        }
        if (const void* nul = std::memchr(window + keep, '\0', got)) {
            got = static_cast<size_t>(static_cast<const char*>(nul) - (window + keep));
            unread = 0;
        }
        cursor = window;
        end = window + keep + got;
        window[keep + got] = '\0';
    }
    // Bytes of text left from the cursor on (an upper bound when a NUL waits in the file).
    long long remaining() const { return static_cast<long long>(end - cursor) + static_cast<long long>(unread); }
};

// nextDataLine on the source, with the window kept at least one longest line ahead.
void dataLine(TextSource& source, std::string_view& line)
{
    for (;;) {
        source.ensure(offMaxLineLength + 2);
        if (nextRawLine(source.cursor, line, offMaxLineLength) != lineRead)
            return;
        if (!line.empty() && (line[0] == '*' || line[0] == '#'))
            continue;
        if (!isBlankLine(line))
            return;
    }
}

// Parses the source into the empty store; false when the text is faulty.
bool parseSource(TextSource& source)
{
    std::string_view line;

    dataLine(source, line);
    if (!headerWordIsOff(line))
        return false;

    dataLine(source, line);
    int counts[3] = {0, 0, 0};
    int countsRead = readInts(line, counts, 3);
    if (countsRead < 2 || counts[0] < 1 || counts[1] < 1)
        return false;
    // Counts the rest of the text cannot hold would only drive a useless allocation.
    long long shortest = shortestVertexLine * counts[0] + shortestFaceLine * counts[1] - 1;
    if (shortest > source.remaining())
        return false;
    int fileVertices = counts[0];
    int fileFaces = counts[1];
    vertexCount = fileVertices;
    faceCount = fileFaces;
    if (countsRead == 3)
        edgeCount = counts[2];

    for (std::vector<double>* array : {&vertexX, &vertexY, &vertexZ})
        reserveMapped(*array, static_cast<size_t>(fileVertices));
    for (std::vector<int>* array : {&faceA, &faceB, &faceC})
        reserveMapped(*array, static_cast<size_t>(fileFaces));
    allocDoubleArray(vertexX, fileVertices);
    allocDoubleArray(vertexY, fileVertices);
    allocDoubleArray(vertexZ, fileVertices);
    allocIntArray(faceA, fileFaces);
    allocIntArray(faceB, fileFaces);
    allocIntArray(faceC, fileFaces);
    modelLoaded = true;
    double* x = vertexX.data();
    double* y = vertexY.data();
    double* z = vertexZ.data();
    for (int i = 0; i < fileVertices; ++i) {
        dataLine(source, line);
        const char* p = line.data();
        const char* lineEnd = p + line.size();
        if (!readReal(p, lineEnd, x[i]) || !readReal(p, lineEnd, y[i]) || !readReal(p, lineEnd, z[i]))
            return false;
    }
    // Quads are noted as (slot, fourth corner) and split once all faces are read.
    std::vector<int> quads;
    for (int i = 0; i < fileFaces; ++i) {
        dataLine(source, line);
        int v[5];
        int read = readInts(line, v, 5);
        if (read < 4 || v[0] < 3 || v[0] > 4)
            return false;
        // Corners must name vertices of the file.
        for (int k = 1; k < 4; ++k)
            if (v[k] < 0 || v[k] >= fileVertices)
                return false;
        faceA[i] = v[1];
        faceB[i] = v[2];
        faceC[i] = v[3];
        if (v[0] == 4) {
            if (read < 5 || v[4] < 0 || v[4] >= fileVertices)
                return false;
            quads.push_back(i);
            quads.push_back(v[4]);
        }
    }
    if (source.failed)
        return false;
    if (!quads.empty()) {
        long long finalFaces = fileFaces + 3LL * static_cast<long long>(quads.size() / 2);
        if (finalFaces > 0x7fffffffLL)
            return false;
        splitQuads(quads, fileVertices, fileFaces);
    }
    computeCenterAndRadius();
    return true;
}

// Bytes of the window through which files are read; kept from load to load.
constexpr size_t fileWindowSize = 256 * 1024;
std::vector<char> fileWindow;

} // namespace

// modelCenter: the mean of all vertices; modelRadius: the largest distance
// from it along one axis.
void computeCenterAndRadius()
{
    double sum[3] = {0.0, 0.0, 0.0};
    for (int i = 0; i < vertexCount; ++i) {
        sum[0] += vertexX[i];
        sum[1] += vertexY[i];
        sum[2] += vertexZ[i];
    }
    for (int k = 0; k < 3; ++k)
        modelCenter[k] = vertexCount > 0 ? sum[k] / vertexCount : 0.0;
    modelRadius = 0.0;
    for (int i = 0; i < vertexCount; ++i) {
        double d[3] = {std::fabs(vertexX[i] - modelCenter[0]), std::fabs(vertexY[i] - modelCenter[1]),
                       std::fabs(vertexZ[i] - modelCenter[2])};
        for (double x : d)
            if (x > modelRadius)
                modelRadius = x;
    }
}

bool parseModelText(const char* text, size_t size)
{
    TextSource source;
    source.cursor = text;
    // The text ends at its first NUL, as every line read does.
    const void* nul = std::memchr(text, '\0', size);
    source.end = nul ? static_cast<const char*>(nul) : text + size;
    return parseSource(source);
}

bool parseModelFile(int fd, size_t size)
{
    if (fileWindow.size() != fileWindowSize + 1)
        fileWindow.assign(fileWindowSize + 1, '\0');
    TextSource source;
    source.fd = fd;
    source.unread = size;
    source.window = fileWindow.data();
    source.windowSize = fileWindowSize;
    source.cursor = source.end = source.window;
    return parseSource(source);
}

// ---- Opening the file

Outcome readModelFile(const std::string& path)
{
    if (modelLoaded)
        releaseModel();
    // Only a regular file that opens is read; anything else is faulty.
    long long size = 0;
    int fd = openRegularFileForReading(path, size);
    if (fd < 0)
        return outcomeFaultyModel;
    modelPath = path;
    bool sound = parseModelFile(fd, static_cast<size_t>(size));
    close(fd);
    if (!sound)
        return outcomeFaultyModel;
    topologyBuilt = false;
    uvComputed = false;
    closedWarned = false;
    return outcomeOk;
}
