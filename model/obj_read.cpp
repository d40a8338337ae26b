// Reading an OBJ model: a first pass counts the vertex and face statements so
// that the mesh is made at its size at once; the second reads them.
#include <climits>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "model/format_text.h"
#include "model/mesh_formats.h"
#include "model/polygon_mesh.h"

namespace {

// The statement of a line: its first word is exactly "v" or "f".
enum Statement { statementOther, statementVertex, statementFace };

inline Statement statementOf(const char* p, const char* end)
{
    while (p < end && isBlank(*p))
        ++p;
    if (p == end || (*p != 'v' && *p != 'f') || (p + 1 < end && !isBlank(p[1])))
        return statementOther;
    return *p == 'v' ? statementVertex : statementFace;
}

// The position index of a corner word i, i/t, i//n or i/t/n; false when the
// word has another form.
bool cornerIndex(std::string_view word, long long& index)
{
    size_t slash = word.find('/');
    if (!wordToInteger(word.substr(0, slash), index))
        return false;
    if (slash == std::string_view::npos)
        return true;
    // Texture and normal numbers are not used; they must still be numbers when present.
    std::string_view rest = word.substr(slash + 1);
    size_t second = rest.find('/');
    long long unused = 0;
    std::string_view texture = rest.substr(0, second);
    if (!texture.empty() && !wordToInteger(texture, unused))
        return false;
    if (second == std::string_view::npos)
        return !texture.empty();
    std::string_view normal = rest.substr(second + 1);
    return wordToInteger(normal, unused);
}

bool readObjText(const char* data, size_t size, Mesh& mesh, std::string& reason)
{
    const char* const end = data + size;
    long long vertexLines = 0, faceLines = 0, lines = 0;
    for (const char* p = data; p < end;) {
        const void* feed = std::memchr(p, '\n', static_cast<size_t>(end - p));
        const char* lineEnd = feed ? static_cast<const char*>(feed) : end;
        Statement statement = statementOf(p, lineEnd);
        vertexLines += statement == statementVertex;
        faceLines += statement == statementFace;
        ++lines;
        p = feed ? lineEnd + 1 : end;
    }
    if (vertexLines == 0) {
        reason = atLine(lines) + "le fichier ne contient aucun sommet";
        return false;
    }
    if (faceLines == 0) {
        reason = atLine(lines) + "le fichier ne contient aucune face";
        return false;
    }
    if (vertexLines > INT_MAX || faceLines > INT_MAX) {
        reason = atLine(lines) + "plus de sommets ou de faces que le lecteur n'en admet";
        return false;
    }
    const int vertices = static_cast<int>(vertexLines);
    FaceCollector faces;
    beginPolygonMesh(mesh, vertices, static_cast<int>(faceLines), faces);
    std::vector<int> corners;
    int vertex = 0, face = 0;
    long long line = 0;
    for (const char* p = data; p < end;) {
        const void* feed = std::memchr(p, '\n', static_cast<size_t>(end - p));
        const char* lineEnd = feed ? static_cast<const char*>(feed) : end;
        ++line;
        Statement statement = statementOf(p, lineEnd);
        Words words{p, lineEnd};
        p = feed ? lineEnd + 1 : end;
        if (statement == statementOther)
            continue;
        words.next();
        if (statement == statementVertex) {
            double xyz[3];
            for (double& value : xyz)
                if (!wordToReal(words.next(), value)) {
                    reason = atLine(line) + "trois coordonnées attendues après « v »";
                    return false;
                }
            if (!std::isfinite(xyz[0]) || !std::isfinite(xyz[1]) || !std::isfinite(xyz[2])) {
                reason = atLine(line) + nonFiniteText;
                return false;
            }
            mesh.vertexX[vertex] = xyz[0];
            mesh.vertexY[vertex] = xyz[1];
            mesh.vertexZ[vertex] = xyz[2];
            ++vertex;
            continue;
        }
        corners.clear();
        for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
            long long index = 0;
            if (!cornerIndex(word, index)) {
                reason = atLine(line) + "coin de face illisible « " + std::string(word) + " »";
                return false;
            }
            // A negative index counts back from the last vertex read so far.
            long long known = index < 0 ? vertex : vertices;
            long long resolved = index < 0 ? vertex + index : index - 1;
            if (index == 0 || resolved < 0 || resolved >= known) {
                reason = atLine(line) + badIndexText(index, known);
                return false;
            }
            corners.push_back(static_cast<int>(resolved));
        }
        if (corners.size() < 3) {
            reason = atLine(line) + faceTooSmallText(static_cast<long long>(corners.size()));
            return false;
        }
        putFace(faces, face++, corners.data(), static_cast<int>(corners.size()));
    }
    return finishPolygonMesh(faces, reason);
}

} // namespace

bool readObj(const char* data, size_t size, Mesh& mesh, std::string& reason)
{
    return readGuarded([&] { return readObjText(data, size, mesh, reason); }, reason);
}
