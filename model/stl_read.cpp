// Reading an STL model, binary or text: triangles (text facets may have more
// corners) whose corners are welded into shared vertices by their exact
// coordinates, in one pass through a hash table made at its final size.
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/format_text.h"
#include "model/mesh_formats.h"
#include "model/polygon_mesh.h"

namespace {

constexpr size_t binaryHeaderSize = 84;
constexpr size_t binaryTriangleSize = 50;

// The table slot of a point: its coordinates' bits mixed (-0 counted as +0,
// which equals it).
inline std::uint64_t pointHash(const double p[3], int shift)
{
    std::uint64_t h = 0x9e3779b97f4a7c15ull;
    for (int k = 0; k < 3; ++k) {
        std::uint64_t bits = std::bit_cast<std::uint64_t>(p[k] + 0.0);
        h = (h ^ bits) * 0xff51afd7ed558ccdull;
        h ^= h >> 32;
    }
    return (h * 0xc4ceb9fe1a85ec53ull) >> shift;
}

// Gives every corner its vertex: corners with equal coordinates share one,
// vertices numbered in order of first appearance. corner(k, p) puts the
// coordinates of corner k in p. ids gets cornerCount entries; the mesh's
// vertex arrays get the vertices at their exact count, each with the
// coordinates of its first corner.
template <typename Corner> void weldCorners(int cornerCount, Corner corner, std::vector<int>& ids, Mesh& mesh)
{
    // At most half full: a free slot is always near.
    int bits = 4;
    while ((1ll << bits) < 2ll * cornerCount)
        ++bits;
    const std::uint32_t mask = static_cast<std::uint32_t>((1ull << bits) - 1);
    const int shift = 64 - bits;
    constexpr std::uint32_t empty = UINT32_MAX;
    std::vector<std::uint32_t> table(static_cast<size_t>(mask) + 1, empty);
    ids.resize(static_cast<size_t>(cornerCount));
    // Slots are looked up a few corners ahead, so that their memory is on its way when needed.
    constexpr int ahead = 8;
    std::uint32_t slots[ahead];
    double points[ahead][3];
    for (int k = 0; k < ahead && k < cornerCount; ++k) {
        corner(k, points[k]);
        slots[k] = static_cast<std::uint32_t>(pointHash(points[k], shift));
        __builtin_prefetch(&table[slots[k]]);
    }
    int vertices = 0;
    for (int k = 0; k < cornerCount; ++k) {
        const int ring = k % ahead;
        const double p[3] = {points[ring][0], points[ring][1], points[ring][2]};
        std::uint32_t slot = slots[ring];
        if (k + ahead < cornerCount) {
            corner(k + ahead, points[ring]);
            slots[ring] = static_cast<std::uint32_t>(pointHash(points[ring], shift));
            __builtin_prefetch(&table[slots[ring]]);
        }
        for (;;) {
            std::uint32_t first = table[slot];
            if (first == empty) {
                table[slot] = static_cast<std::uint32_t>(k);
                ids[static_cast<size_t>(k)] = vertices++;
                break;
            }
            double q[3];
            corner(static_cast<int>(first), q);
            if (q[0] == p[0] && q[1] == p[1] && q[2] == p[2]) {
                ids[static_cast<size_t>(k)] = ids[first];
                break;
            }
            slot = (slot + 1) & mask;
        }
    }
    for (std::vector<double>* array : {&mesh.vertexX, &mesh.vertexY, &mesh.vertexZ})
        array->resize(static_cast<size_t>(vertices));
    int next = 0;
    for (int k = 0; k < cornerCount && next < vertices; ++k)
        if (ids[static_cast<size_t>(k)] == next) {
            double p[3];
            corner(k, p);
            mesh.vertexX[next] = p[0];
            mesh.vertexY[next] = p[1];
            mesh.vertexZ[next] = p[2];
            ++next;
        }
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
    const int corners = static_cast<int>(3 * triangles);
    const char* body = data + binaryHeaderSize;
    // Corners are read as floats; a non-finite one makes the file faulty.
    for (std::uint32_t t = 0; t < triangles; ++t)
        for (int k = 0; k < 9; ++k) {
            const char* p = body + binaryTriangleSize * t + 12 + 4 * k;
            if (!std::isfinite(loadBinary<float>(p, !hostIsLittleEndian))) {
                reason = atByte(static_cast<long long>(p - data)) + nonFiniteText;
                return false;
            }
        }
    auto corner = [body](int k, double p[3]) {
        const char* at = body + binaryTriangleSize * static_cast<size_t>(k / 3) + 12 + 12 * static_cast<size_t>(k % 3);
        p[0] = loadBinary<float>(at, !hostIsLittleEndian);
        p[1] = loadBinary<float>(at + 4, !hostIsLittleEndian);
        p[2] = loadBinary<float>(at + 8, !hostIsLittleEndian);
    };
    std::vector<int> ids;
    weldCorners(corners, corner, ids, mesh);
    const int vertices = static_cast<int>(mesh.vertexX.size());
    FaceCollector faces;
    std::vector<double> x = std::move(mesh.vertexX), y = std::move(mesh.vertexY), z = std::move(mesh.vertexZ);
    beginPolygonMesh(mesh, vertices, static_cast<int>(triangles), faces);
    mesh.vertexX = std::move(x);
    mesh.vertexY = std::move(y);
    mesh.vertexZ = std::move(z);
    for (std::uint32_t t = 0; t < triangles; ++t) {
        mesh.faceA[t] = ids[3 * t];
        mesh.faceB[t] = ids[3 * t + 1];
        mesh.faceC[t] = ids[3 * t + 2];
    }
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
    std::vector<int> ids;
    weldCorners(
        static_cast<int>(points.size() / 3),
        [&points](int k, double p[3]) {
            p[0] = points[3 * static_cast<size_t>(k)];
            p[1] = points[3 * static_cast<size_t>(k) + 1];
            p[2] = points[3 * static_cast<size_t>(k) + 2];
        },
        ids, mesh);
    std::vector<double> x = std::move(mesh.vertexX), y = std::move(mesh.vertexY), z = std::move(mesh.vertexZ);
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
        return readBinary(data, mesh, reason);
    if (startsWithSolid(data, size))
        return readText(data, size, mesh, reason);
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
