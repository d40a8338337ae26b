// Streaming conversion of a numeric mesh text into OFF text.
#include "convert.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Input is read and output gathered in blocks of this size.
constexpr size_t blockSize = 1 << 20;
// Longest number accepted, in characters; a longer one is refused.
constexpr size_t longestToken = 4096;
// Room kept free in the output block for one line ("%f" of a float has at most 48 characters).
constexpr size_t longestLine = 256;

inline bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Input side: a block refilled from the stream, with the read position.
struct Reader {
    std::FILE* in;
    std::vector<char> block = std::vector<char>(blockSize + 1);
    size_t begin = 0, end = 0;
    bool atEof = false;
    bool failed = false;
    // Line of the read position, counted from 1 (line feeds skipped so far).
    long long line = 1;

    // Moves the unread bytes to the front and appends what the stream gives.
    void refill()
    {
        if (atEof)
            return;
        std::memmove(block.data(), block.data() + begin, end - begin);
        end -= begin;
        begin = 0;
        size_t got = std::fread(block.data() + end, 1, blockSize - end, in);
        if (got < blockSize - end) {
            atEof = true;
            failed = std::ferror(in) != 0;
        }
        end += got;
    }

    // Skips white space and leaves more than longestToken bytes in the block
    // from the read position on, or the whole rest of the input. Returns
    // false at the end of the input.
    bool nextNumber()
    {
        for (;;) {
            while (begin < end && isSpace(block[begin])) {
                if (block[begin] == '\n')
                    ++line;
                ++begin;
            }
            if (begin < end || atEof)
                break;
            refill();
        }
        if (end - begin <= longestToken)
            refill();
        return begin < end;
    }

    // Length of the word at the read position, for a problem text.
    size_t wordLength() const
    {
        size_t i = begin;
        while (i < end && !isSpace(block[i]))
            ++i;
        return i - begin;
    }

    // Accepts a number that ended at next, unless it is longer than
    // longestToken (wherever it stands in the block).
    bool take(const char* next)
    {
        if (static_cast<size_t>(next - (block.data() + begin)) > longestToken)
            return false;
        begin = static_cast<size_t>(next - block.data());
        return true;
    }
};

// What is being read, for the problem text.
struct Expected {
    const char* what;  // "la coordonnée x du sommet", ...
    long long index;   // -1 when no number follows the words
};

std::string describe(const Expected& e)
{
    std::string s = e.what;
    if (e.index >= 0)
        s += " " + std::to_string(e.index);
    return s;
}

// Sets the problem text for a number that could not be read.
void reportMissing(Reader& r, bool found, const Expected& e, const char* kind, std::string& problem)
{
    if (r.failed)
        problem = "erreur de lecture avant " + describe(e);
    else if (!found)
        problem = "fin du fichier avant " + describe(e);
    else
        problem = describe(e) + " n'est pas " + kind + " : « " +
                  std::string(r.block.data() + r.begin, std::min<size_t>(r.wordLength(), 40)) + " »";
}

// The number's digits start past an explicit '+', which the fast conversions refuse.
const char* afterPlus(const char* p, const char* end)
{
    if (p < end && *p == '+') {
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            return nullptr;
    }
    return p;
}

bool readInt(Reader& r, int& value, const Expected& e, std::string& problem)
{
    bool found = r.nextNumber();
    const char* p = r.block.data() + r.begin;
    const char* end = r.block.data() + r.end;
    const char* q = afterPlus(p, end);
    if (q) {
        auto [next, ec] = std::from_chars(q, end, value);
        if (ec == std::errc() && r.take(next))
            return true;
    }
    reportMissing(r, found, e, "un nombre entier", problem);
    return false;
}

// Reads a real as single precision, as a "%f" conversion of formatted input does.
bool readFloat(Reader& r, float& value, const Expected& e, std::string& problem)
{
    bool found = r.nextNumber();
    const char* p = r.block.data() + r.begin;
    const char* end = r.block.data() + r.end;
    const char* q = afterPlus(p, end);
    if (q) {
        auto [next, ec] = std::from_chars(q, end, value, std::chars_format::general);
        if (ec == std::errc::result_out_of_range) {
            // Beyond the float range: the C library gives the saturated value.
            std::string digits(p, next);
            value = std::strtof(digits.c_str(), nullptr);
            ec = std::errc();
        }
        if (ec == std::errc() && r.take(next)) {
            // The viewer refuses a coordinate that is not a finite number:
            // nan, an infinity, or a value beyond the single-precision range.
            if (std::isfinite(value))
                return true;
            problem = "ligne " + std::to_string(r.line) + " : " + describe(e) + " n'est pas un nombre fini";
            return false;
        }
    }
    reportMissing(r, found, e, "un nombre", problem);
    return false;
}

// Output side: a block flushed to the stream when nearly full.
struct Writer {
    std::FILE* out;
    std::vector<char> block = std::vector<char>(blockSize);
    size_t used = 0;
    bool failed = false;

    void flush()
    {
        if (used > 0 && std::fwrite(block.data(), 1, used, out) != used)
            failed = true;
        used = 0;
    }
    void makeRoom()
    {
        if (block.size() - used < longestLine)
            flush();
    }
    void text(const char* s)
    {
        while (*s)
            block[used++] = *s++;
    }
    void integer(int value)
    {
        used = static_cast<size_t>(std::to_chars(&block[used], block.data() + block.size(), value).ptr - block.data());
    }
    // "%f" of the value widened to double: fixed notation, six decimals.
    void real(float value)
    {
        used = static_cast<size_t>(std::to_chars(&block[used], block.data() + block.size(),
                                                 static_cast<double>(value), std::chars_format::fixed, 6)
                                       .ptr -
                                   block.data());
    }
};

} // namespace

bool convertNumericMesh(std::FILE* in, std::FILE* out, std::string& problem)
{
    Reader r{in};
    Writer w{out};
    int vertices = 0, faces = 0;
    if (!readInt(r, vertices, {"le nombre de sommets", -1}, problem) ||
        !readInt(r, faces, {"le nombre de faces", -1}, problem))
        return false;
    if (vertices < 0 || faces < 0) {
        problem = "les nombres de sommets et de faces ne peuvent être négatifs";
        return false;
    }
    w.text("OFF\n ");
    w.integer(vertices);
    w.text(" ");
    w.integer(faces);
    w.text(" 0\n");
    for (int i = 0; i < vertices; ++i) {
        float x, y, z;
        if (!readFloat(r, x, {"la coordonnée x du sommet", i}, problem) ||
            !readFloat(r, y, {"la coordonnée y du sommet", i}, problem) ||
            !readFloat(r, z, {"la coordonnée z du sommet", i}, problem))
            return false;
        w.makeRoom();
        w.text("  ");
        w.real(x);
        w.text("  ");
        w.real(y);
        w.text("  ");
        w.real(z);
        w.text("\n");
    }
    const char* cornerNames[3] = {"le premier indice de la face", "le deuxième indice de la face",
                                  "le troisième indice de la face"};
    for (int i = 0; i < faces; ++i) {
        int n, corner[3];
        if (!readInt(r, n, {"le nombre de coins de la face", i}, problem))
            return false;
        for (int k = 0; k < 3; ++k) {
            if (!readInt(r, corner[k], {cornerNames[k], i}, problem))
                return false;
            // A face naming no vertex would give a file the viewer refuses.
            if (corner[k] < 0 || corner[k] >= vertices) {
                problem = "ligne " + std::to_string(r.line) + " : " + describe({cornerNames[k], i}) + " (" +
                          std::to_string(corner[k]) + ") ne désigne aucun sommet : " +
                          (vertices == 0 ? std::string("le fichier n'a aucun sommet")
                                         : "les indices vont de 0 à " + std::to_string(vertices - 1));
                return false;
            }
        }
        w.makeRoom();
        w.text("3 ");
        w.integer(corner[0]);
        w.text(" ");
        w.integer(corner[1]);
        w.text(" ");
        w.integer(corner[2]);
        w.text("\n");
    }
    w.flush();
    if (w.failed || std::fflush(out) != 0 || std::ferror(out)) {
        problem = "le fichier de sortie n'a pas pu être écrit";
        return false;
    }
    return true;
}

std::string outputPathFor(const std::string& inputPath)
{
    size_t slash = inputPath.find_last_of('/');
    size_t nameLength = slash == std::string::npos ? inputPath.size() : inputPath.size() - slash - 1;
    if (nameLength < 4)
        return inputPath + ".off";
    return inputPath.substr(0, inputPath.size() - 4) + "off";
}
