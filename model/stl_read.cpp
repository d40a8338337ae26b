// Reading an STL model, binary or text: triangles (text facets may have more
// corners) whose corners are welded into shared vertices by their exact
// coordinates, in one pass through a hash table made at its final size.
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "model/format_text.h"
#include "model/huge_pages.h"
#include "model/mesh_formats.h"
#include "model/polygon_mesh.h"

namespace {

constexpr size_t binaryHeaderSize = 84;
constexpr size_t binaryTriangleSize = 50;

// The table slot of a point: its coordinates' bits mixed (-0 counted as +0,
// which equals it).
template <typename T> inline std::uint64_t pointHash(const T p[3], int shift)
{
    using Bits = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;
    std::uint64_t h = 0x9e3779b97f4a7c15ull;
    for (int k = 0; k < 3; ++k) {
        std::uint64_t bits = std::bit_cast<Bits>(static_cast<T>(p[k] + T(0)));
        h = (h ^ bits) * 0xff51afd7ed558ccdull;
        h ^= h >> 32;
    }
    return (h * 0xc4ceb9fe1a85ec53ull) >> shift;
}

// Gives every corner its vertex: corners with equal coordinates share one,
// vertices numbered in order of first appearance. corner(k, p) puts the
// coordinates of corner k in p; putId(k, id) gives corner k its vertex. The
// vertices land in unique (x, y, z of each, with the coordinates of its first
// corner); their count is returned, or -1 - k when corner k is not finite.
// The table is made at its final size: at most four fifths full when no two
// corners are equal, far less in a mesh where vertices are shared.
template <typename T, typename Corner, typename PutId>
long long weldCorners(int cornerCount, Corner corner, PutId putId, std::vector<T>& unique)
{
    int bits = 4;
    while ((1ll << bits) < cornerCount + cornerCount / 4)
        ++bits;
    const std::uint32_t mask = static_cast<std::uint32_t>((1ull << bits) - 1);
    const int shift = 64 - bits;
    constexpr std::uint32_t empty = UINT32_MAX;
    // The table is read at random: huge pages spare most of the address translation misses.
    std::vector<std::uint32_t> table;
    table.reserve(static_cast<size_t>(mask) + 1);
    adviseHugePages(table.data(), table.capacity() * sizeof(std::uint32_t));
    table.assign(static_cast<size_t>(mask) + 1, empty);
    // Room for every corner being its own vertex; only the pages used are ever touched.
    unique.reserve(3 * static_cast<size_t>(cornerCount));
    adviseHugePages(unique.data(), unique.capacity() * sizeof(T));
    // Slots are looked up a few corners ahead, so that their memory is on its way when needed.
    constexpr int ahead = 16;
    std::uint32_t slots[ahead];
    T points[ahead][3];
    auto look = [&](int k, int ring) {
        corner(k, points[ring]);
        slots[ring] = static_cast<std::uint32_t>(pointHash(points[ring], shift));
        __builtin_prefetch(&table[slots[ring]]);
        return std::isfinite(points[ring][0]) && std::isfinite(points[ring][1]) && std::isfinite(points[ring][2]);
    };
    for (int k = 0; k < ahead && k < cornerCount; ++k)
        if (!look(k, k))
            return -1ll - k;
    std::uint32_t vertices = 0;
    for (int k = 0; k < cornerCount; ++k) {
        const int ring = k % ahead;
        const T p[3] = {points[ring][0], points[ring][1], points[ring][2]};
        std::uint32_t slot = slots[ring];
        if (k + ahead < cornerCount && !look(k + ahead, ring))
            return -1ll - (k + ahead);
        for (;;) {
            const std::uint32_t id = table[slot];
            if (id == empty) {
                table[slot] = vertices;
                unique.insert(unique.end(), p, p + 3);
                putId(k, static_cast<int>(vertices++));
                break;
            }
            const T* q = unique.data() + 3 * static_cast<size_t>(id);
            if (q[0] == p[0] && q[1] == p[1] && q[2] == p[2]) {
                putId(k, static_cast<int>(id));
                break;
            }
            slot = (slot + 1) & mask;
        }
    }
    return vertices;
}

// Gives the mesh its vertex arrays from the welded points.
template <typename T> void putVertices(const std::vector<T>& unique, Mesh& mesh)
{
    const size_t count = unique.size() / 3;
    mesh.vertexX.resize(count);
    mesh.vertexY.resize(count);
    mesh.vertexZ.resize(count);
    for (size_t i = 0; i < count; ++i) {
        mesh.vertexX[i] = unique[3 * i];
        mesh.vertexY[i] = unique[3 * i + 1];
        mesh.vertexZ[i] = unique[3 * i + 2];
    }
    mesh.vertexCount = static_cast<int>(count);
}

bool readBinary(const char* data, Mesh& mesh, std::string& reason)
{
    const std::uint32_t triangles = loadBinary<std::uint32_t>(data + 80, !hostIsLittleEndian);
    if (triangles == 0) {
        reason = atByte(80) + "le fichier ne contient aucun triangle";
        return false;
    }
    if (3ull * triangles > static_cast<unsigned long long>(INT_MAX)) {
        reason = atByte(80) + std::to_string(triangles) + " triangles annoncés, plus que le lecteur n'en admet";
        return false;
    }
    const char* body = data + binaryHeaderSize;
    auto corner = [body](int k, float p[3]) {
        const char* at = body + binaryTriangleSize * static_cast<size_t>(k / 3) + 12 + 12 * static_cast<size_t>(k % 3);
        p[0] = loadBinary<float>(at, !hostIsLittleEndian);
        p[1] = loadBinary<float>(at + 4, !hostIsLittleEndian);
        p[2] = loadBinary<float>(at + 8, !hostIsLittleEndian);
    };
    FaceCollector faces;
    beginPolygonMesh(mesh, 0, static_cast<int>(triangles), faces);
    int* corners[3] = {mesh.faceA.data(), mesh.faceB.data(), mesh.faceC.data()};
    auto putId = [&corners](int k, int id) { corners[k % 3][k / 3] = id; };
    std::vector<float> unique;
    const long long welded = weldCorners(static_cast<int>(3 * triangles), corner, putId, unique);
    if (welded < 0) {
        // Said at the first coordinate of the corner that is not finite.
        const long long k = -1 - welded;
        const char* at = body + binaryTriangleSize * static_cast<size_t>(k / 3) + 12 + 12 * static_cast<size_t>(k % 3);
        while (std::isfinite(loadBinary<float>(at, !hostIsLittleEndian)))
            at += 4;
        reason = atByte(static_cast<long long>(at - data)) + nonFiniteText;
        return false;
    }
    putVertices(unique, mesh);
    return finishPolygonMesh(faces, reason);
}

// The text form: "solid", then facets of "facet normal", "outer loop",
// vertex lines, "endloop", "endfacet", and "endsolid"; several solids make one mesh.
bool readText(const char* data, size_t size, Mesh& mesh, std::string& reason)
{
    enum State { outside, inSolid, inFacet, inLoop, afterLoop };
    State state = outside;
    std::vector<double> points;  // x, y, z of every corner
    std::vector<int> sizes;       // corners of every facet
    int facetCorners = 0;
    long long line = 0;
    size_t at = 0;
    while (at < size) {
        ++line;
        const char* start = data + at;
        const void* feed = std::memchr(start, '\n', size - at);
        const char* end = feed ? static_cast<const char*>(feed) : data + size;
        at = static_cast<size_t>(end - data) + 1;
        Words words{start, end};
        std::string_view keyword = words.next();
        if (keyword.empty())
            continue;
        bool expected = false;
        if (sameWordIgnoringCase(keyword, "solid")) {
            expected = state == outside;
            state = inSolid;
            continue;  // the solid's name may be any text
        } else if (sameWordIgnoringCase(keyword, "endsolid")) {
            expected = state == inSolid;
            if (expected) {
                state = outside;
                continue;
            }
        } else if (sameWordIgnoringCase(keyword, "facet")) {
            expected = state == inSolid;
            state = inFacet;
            facetCorners = 0;
            if (expected)
                continue;  // the normal is computed from the corners when needed
        } else if (sameWordIgnoringCase(keyword, "outer")) {
            expected = state == inFacet && sameWordIgnoringCase(words.next(), "loop") && words.atEnd();
            state = inLoop;
        } else if (sameWordIgnoringCase(keyword, "vertex")) {
            expected = state == inLoop;
            if (expected) {
                double p[3];
                for (double& value : p)
                    if (!wordToReal(words.next(), value)) {
                        reason = atLine(line) + "trois coordonnées attendues après « vertex »";
                        return false;
                    }
                if (!words.atEnd()) {
                    reason = atLine(line) + "trois coordonnées attendues après « vertex »";
                    return false;
                }
                if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) {
                    reason = atLine(line) + nonFiniteText;
                    return false;
                }
                points.insert(points.end(), p, p + 3);
                ++facetCorners;
            }
        } else if (sameWordIgnoringCase(keyword, "endloop")) {
            expected = state == inLoop && words.atEnd();
            state = afterLoop;
        } else if (sameWordIgnoringCase(keyword, "endfacet")) {
            expected = state == afterLoop && words.atEnd();
            if (expected && facetCorners < 3) {
                reason = atLine(line) + faceTooSmallText(facetCorners);
                return false;
            }
            sizes.push_back(facetCorners);
            state = inSolid;
        }
        if (!expected) {
            reason = atLine(line) + "« " + std::string(keyword) + " » inattendu ici";
            return false;
        }
        if (points.size() / 3 > static_cast<size_t>(INT_MAX)) {
            reason = atLine(line) + "plus de sommets que le lecteur n'en admet";
            return false;
        }
    }
    if (state != outside && state != inSolid) {
        reason = atLine(line) + "fin du fichier dans une facette";
        return false;
    }
    if (sizes.empty()) {
        reason = atLine(line) + "le fichier ne contient aucune face";
        return false;
    }
    std::vector<int> ids(points.size() / 3);
    std::vector<double> unique;
    weldCorners(
        static_cast<int>(ids.size()),
        [&points](int k, double p[3]) {
            p[0] = points[3 * static_cast<size_t>(k)];
            p[1] = points[3 * static_cast<size_t>(k) + 1];
            p[2] = points[3 * static_cast<size_t>(k) + 2];
        },
        [&ids](int k, int id) { ids[static_cast<size_t>(k)] = id; }, unique);
    std::vector<double> x(unique.size() / 3), y(x.size()), z(x.size());
    for (size_t i = 0; i < x.size(); ++i) {
        x[i] = unique[3 * i];
        y[i] = unique[3 * i + 1];
        z[i] = unique[3 * i + 2];
    }
    return buildPolygonMesh(mesh, x, y, z, ids, sizes, reason);
}

// True when the first word of the data is "solid" (the text form's start).
bool startsWithSolid(const char* data, size_t size)
{
    size_t i = 0;
    while (i < size && (isBlank(data[i]) || data[i] == '\n'))
        ++i;
    return size - i >= 5 && sameWordIgnoringCase(std::string_view(data + i, 5), "solid") &&
           (size - i == 5 || isBlank(data[i + 5]) || data[i + 5] == '\n');
}

} // namespace

bool isBinaryStlSize(const char* data, size_t size)
{
    if (size < binaryHeaderSize)
        return false;
    const std::uint32_t triangles = loadBinary<std::uint32_t>(data + 80, !hostIsLittleEndian);
    return size == binaryHeaderSize + binaryTriangleSize * static_cast<unsigned long long>(triangles);
}

bool readStl(const char* data, size_t size, Mesh& mesh, std::string& reason)
{
    if (isBinaryStlSize(data, size))
        return readGuarded([&] { return readBinary(data, mesh, reason); }, reason);
    if (startsWithSolid(data, size))
        return readGuarded([&] { return readText(data, size, mesh, reason); }, reason);
    // Neither form: said as a binary file of the wrong size.
    if (size < binaryHeaderSize) {
        reason = atByte(static_cast<long long>(size)) + "fin du fichier dans l'en-tête binaire (84 octets)";
        return false;
    }
    const std::uint32_t triangles = loadBinary<std::uint32_t>(data + 80, !hostIsLittleEndian);
    const unsigned long long expected = binaryHeaderSize + binaryTriangleSize * static_cast<unsigned long long>(triangles);
    if (size < expected)
        reason = atByte(static_cast<long long>(size)) + "fin du fichier dans le corps binaire (" +
                 std::to_string(triangles) + " triangles annoncés)";
    else
        reason = atByte(static_cast<long long>(expected)) + "octets en trop après les " + std::to_string(triangles) +
                 " triangles annoncés";
    return false;
}
