// Reading an OFF model: line access to the text (raw lines limited in
// length, significant lines with comments and blank lines skipped), parsing
// into a new mesh (header, counts, vertex and face lines, quads split
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
#include <string>

#include "base/file_system.h"
#include "model/mesh.h"

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
// mesh's own allocation then fills that room without moving the array.
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
void splitQuads(Mesh& mesh, const std::vector<int>& quads, int fileVertices, int fileFaces)
{
    int quadCount = static_cast<int>(quads.size() / 2);
    int newVertices = fileVertices + quadCount;
    int newFaces = fileFaces + 3 * quadCount;
    for (std::vector<double>* array : {&mesh.vertexX, &mesh.vertexY, &mesh.vertexZ})
        reserveMapped(*array, static_cast<size_t>(newVertices));
    for (std::vector<int>* array : {&mesh.faceA, &mesh.faceB, &mesh.faceC})
        reserveMapped(*array, static_cast<size_t>(newFaces));
    growDoubleArray(mesh.vertexX, fileVertices, newVertices);
    growDoubleArray(mesh.vertexY, fileVertices, newVertices);
    growDoubleArray(mesh.vertexZ, fileVertices, newVertices);
    growIntArray(mesh.faceA, fileFaces, newFaces);
    growIntArray(mesh.faceB, fileFaces, newFaces);
    growIntArray(mesh.faceC, fileFaces, newFaces);
    for (int q = 0; q < quadCount; ++q) {
        int slot = quads[2 * q];
        int a = mesh.faceA[slot], b = mesh.faceB[slot], c = mesh.faceC[slot], d = quads[2 * q + 1];
        int m = fileVertices + q;
        mesh.vertexX[m] = (mesh.vertexX[a] + mesh.vertexX[b] + mesh.vertexX[c] + mesh.vertexX[d]) / 4;
        mesh.vertexY[m] = (mesh.vertexY[a] + mesh.vertexY[b] + mesh.vertexY[c] + mesh.vertexY[d]) / 4;
        mesh.vertexZ[m] = (mesh.vertexZ[a] + mesh.vertexZ[b] + mesh.vertexZ[c] + mesh.vertexZ[d]) / 4;
        int n = fileFaces + 3 * (q + 1);
        mesh.faceA[n - 3] = b, mesh.faceB[n - 3] = c, mesh.faceC[n - 3] = m;
        mesh.faceA[n - 2] = c, mesh.faceB[n - 2] = d, mesh.faceC[n - 2] = m;
        mesh.faceA[n - 1] = d, mesh.faceB[n - 1] = a, mesh.faceC[n - 1] = m;
        mesh.faceC[slot] = m;
    }
    mesh.vertexCount = newVertices;
    mesh.faceCount = newFaces;
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

// The line number of the last line taken, for the reasons of a refusal.
struct LineReader {
    TextSource& source;
    long long number = 0;

    // nextDataLine on the source, with the window kept at least one longest
    // line ahead; returns nextRawLine's code of the line that ended the search.
    int next(std::string_view& line)
    {
        for (;;) {
            source.ensure(offMaxLineLength + 2);
            ++number;
            int code = nextRawLine(source.cursor, line, offMaxLineLength);
            if (code != lineRead) {
                // The last line, or a refused one: what follows is unread.
                if (code == lineLastRead && line.empty())
                    --number;
                return code;
            }
            if (!line.empty() && (line[0] == '*' || line[0] == '#'))
                continue;
            if (!isBlankLine(line))
                return lineRead;
        }
    }
};

std::string lineReason(long long number, const std::string& what)
{
    return "ligne " + std::to_string(number) + " : " + what;
}

// Why the line the reader just took is not the expected one: too long, the
// end of the file, or (when neither) the given fault.
std::string lineFault(const LineReader& reader, int code, std::string_view line, const std::string& expected,
                      const std::string& fault)
{
    if (code == lineTooLong || code == lineLastTooLong)
        return lineReason(reader.number, "ligne de plus de " + std::to_string(offMaxLineLength) + " caractères");
    if (code == lineLastRead && line.empty())
        return "fin du fichier avant " + expected;
    return lineReason(reader.number, fault);
}

// Why vertex i's line is refused: which coordinate is missing, unreadable or not finite.
std::string vertexFault(const LineReader& reader, int code, std::string_view line, int i)
{
    const char* p = line.data();
    const char* lineEnd = p + line.size();
    for (int k = 0; k < 3; ++k) {
        double value = 0.0;
        const bool got = readReal(p, lineEnd, value);
        if (got && std::isfinite(value))
            continue;
        const std::string coordinate = std::string("la coordonnée ") + "xyz"[k] + " du sommet " + std::to_string(i);
        if (got)
            return lineReason(reader.number, coordinate + " n'est pas un nombre fini");
        return lineFault(reader, code, line, "le sommet " + std::to_string(i), coordinate + " manque ou est illisible");
    }
    return lineReason(reader.number, "sommet " + std::to_string(i) + " illisible");
}

// Why face i's line is refused, from the numbers read on it.
std::string faceFault(const LineReader& reader, int code, std::string_view line, int i, const int v[5], int read,
                      int fileVertices)
{
    if (read < 1 || code == lineTooLong || code == lineLastTooLong)
        return lineFault(reader, code, line, "la face " + std::to_string(i), "face " + std::to_string(i) + " illisible");
    if (v[0] < 3 || v[0] > 4)
        return lineReason(reader.number, "la face a " + std::to_string(v[0]) + " sommets (3 ou 4 attendus)");
    if (read < v[0] + 1)
        return lineReason(reader.number,
                          "la face " + std::to_string(i) + " a moins de " + std::to_string(v[0]) + " indices lisibles");
    for (int k = 1; k <= v[0]; ++k)
        if (v[k] < 0 || v[k] >= fileVertices)
            return lineReason(reader.number, "l'indice " + std::to_string(v[k]) + " ne désigne aucun sommet (" +
                                                 std::to_string(fileVertices) + " sommets)");
    return lineReason(reader.number, "face " + std::to_string(i) + " illisible");
}

// Parses the source into the empty mesh; false with the reason when the text is faulty.
bool parseSource(TextSource& source, Mesh& mesh, std::string& reason)
{
    LineReader reader{source};
    std::string_view line;

    int code = reader.next(line);
    if (!headerWordIsOff(line)) {
        reason = lineFault(reader, code, line, "l'en-tête OFF", "l'en-tête OFF manque");
        return false;
    }

    code = reader.next(line);
    int counts[3] = {0, 0, 0};
    int countsRead = readInts(line, counts, 3);
    if (countsRead < 2 || counts[0] < 1 || counts[1] < 1) {
        reason = lineFault(reader, code, line, "les nombres de sommets et de faces",
                           countsRead < 2 ? "nombres de sommets et de faces attendus"
                                          : "il faut au moins un sommet et une face");
        return false;
    }
    // Counts the rest of the text cannot hold would only drive a useless allocation.
    long long shortest = shortestVertexLine * counts[0] + shortestFaceLine * counts[1] - 1;
    if (shortest > source.remaining()) {
        reason = lineReason(reader.number, "le fichier est trop court pour " + std::to_string(counts[0]) +
                                               " sommets et " + std::to_string(counts[1]) + " faces");
        return false;
    }
    int fileVertices = counts[0];
    int fileFaces = counts[1];
    mesh.vertexCount = fileVertices;
    mesh.faceCount = fileFaces;
    if (countsRead == 3)
        mesh.edgeCount = counts[2];

    for (std::vector<double>* array : {&mesh.vertexX, &mesh.vertexY, &mesh.vertexZ})
        reserveMapped(*array, static_cast<size_t>(fileVertices));
    for (std::vector<int>* array : {&mesh.faceA, &mesh.faceB, &mesh.faceC})
        reserveMapped(*array, static_cast<size_t>(fileFaces));
    allocDoubleArray(mesh.vertexX, fileVertices);
    allocDoubleArray(mesh.vertexY, fileVertices);
    allocDoubleArray(mesh.vertexZ, fileVertices);
    allocIntArray(mesh.faceA, fileFaces);
    allocIntArray(mesh.faceB, fileFaces);
    allocIntArray(mesh.faceC, fileFaces);
    mesh.modelLoaded = true;
    double* x = mesh.vertexX.data();
    double* y = mesh.vertexY.data();
    double* z = mesh.vertexZ.data();
    for (int i = 0; i < fileVertices; ++i) {
        code = reader.next(line);
        const char* p = line.data();
        const char* lineEnd = p + line.size();
        if (readReal(p, lineEnd, x[i]) && readReal(p, lineEnd, y[i]) && readReal(p, lineEnd, z[i]) &&
            std::isfinite(x[i]) && std::isfinite(y[i]) && std::isfinite(z[i]))
            continue;
        reason = vertexFault(reader, code, line, i);
        return false;
    }
    // Quads are noted as (slot, fourth corner) and split once all faces are read.
    std::vector<int> quads;
    int* fa = mesh.faceA.data();
    int* fb = mesh.faceB.data();
    int* fc = mesh.faceC.data();
    for (int i = 0; i < fileFaces; ++i) {
        code = reader.next(line);
        int v[5];
        int read = readInts(line, v, 5);
        // Corners must name vertices of the file.
        const bool sound = code != lineTooLong && code != lineLastTooLong && read >= 4 &&
                           (v[0] == 3 || (v[0] == 4 && read == 5)) && v[1] >= 0 && v[1] < fileVertices &&
                           v[2] >= 0 && v[2] < fileVertices && v[3] >= 0 && v[3] < fileVertices &&
                           (v[0] == 3 || (v[4] >= 0 && v[4] < fileVertices));
        if (!sound) {
            reason = faceFault(reader, code, line, i, v, read, fileVertices);
            return false;
        }
        fa[i] = v[1];
        fb[i] = v[2];
        fc[i] = v[3];
        if (v[0] == 4) {
            quads.push_back(i);
            quads.push_back(v[4]);
        }
    }
    if (source.failed) {
        reason = "le fichier n'a pas pu être lu jusqu'au bout";
        return false;
    }
    if (!quads.empty()) {
        long long finalFaces = fileFaces + 3LL * static_cast<long long>(quads.size() / 2);
        if (finalFaces > 0x7fffffffLL) {
            reason = "trop de faces une fois les quadrilatères partagés";
            return false;
        }
        splitQuads(mesh, quads, fileVertices, fileFaces);
    }
    computeCenterAndRadius(mesh);
    return true;
}

// Bytes of the window through which files are read; kept from load to load.
constexpr size_t fileWindowSize = 256 * 1024;
std::vector<char> fileWindow;

} // namespace

bool parseModelText(const char* text, size_t size, Mesh& mesh, std::string& reason)
{
    TextSource source;
    source.cursor = text;
    // The text ends at its first NUL, as every line read does.
    const void* nul = std::memchr(text, '\0', size);
    source.end = nul ? static_cast<const char*>(nul) : text + size;
    return parseSource(source, mesh, reason);
}

bool parseModelFile(int fd, size_t size, Mesh& mesh, std::string& reason)
{
    if (fileWindow.size() != fileWindowSize + 1)
        fileWindow.assign(fileWindowSize + 1, '\0');
    TextSource source;
    source.fd = fd;
    source.unread = size;
    source.window = fileWindow.data();
    source.windowSize = fileWindowSize;
    source.cursor = source.end = source.window;
    // The window is kept from load to load: an empty file must not show the last file's text.
    source.window[0] = '\0';
    return parseSource(source, mesh, reason);
}

// ---- Opening the file

Outcome readModelFile(const std::string& path, Mesh& mesh, std::string& reason)
{
    mesh = Mesh();
    reason.clear();
    // Only a regular file that opens is read; anything else is faulty.
    long long size = 0;
    int fd = openRegularFileForReading(path, size);
    if (fd < 0) {
        reason = isRegularFile(path) ? "le fichier ne peut pas être ouvert" : "ce n'est pas un fichier ordinaire lisible";
        return outcomeFaultyModel;
    }
    bool sound = parseModelFile(fd, static_cast<size_t>(size), mesh, reason);
    close(fd);
    if (!sound) {
        mesh = Mesh();
        return outcomeFaultyModel;
    }
    mesh.modelPath = path;
    touchMesh(mesh);
    return outcomeOk;
}
