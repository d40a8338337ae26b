// Reading a PLY model: the header (format, elements, properties), then the
// body element by element, text or binary in either byte order. Only the
// vertex positions and the face corner lists are kept; everything else is
// stepped over by its declared size.
#include <algorithm>
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

enum PlyType { plyChar, plyUchar, plyShort, plyUshort, plyInt, plyUint, plyFloat, plyDouble };
constexpr int plyTypeSize[] = {1, 1, 2, 2, 4, 4, 4, 8};

bool plyTypeOf(std::string_view word, PlyType& type)
{
    struct Name {
        const char* name;
        PlyType type;
    };
    static const Name names[] = {{"char", plyChar},     {"int8", plyChar},     {"uchar", plyUchar},
                                 {"uint8", plyUchar},   {"short", plyShort},   {"int16", plyShort},
                                 {"ushort", plyUshort}, {"uint16", plyUshort}, {"int", plyInt},
                                 {"int32", plyInt},     {"uint", plyUint},     {"uint32", plyUint},
                                 {"float", plyFloat},   {"float32", plyFloat}, {"double", plyDouble},
                                 {"float64", plyDouble}};
    for (const Name& n : names)
        if (word == n.name) {
            type = n.type;
            return true;
        }
    return false;
}

bool isIntegerType(PlyType type) { return type != plyFloat && type != plyDouble; }

enum PlyFormat { plyAscii, plyLittle, plyBig };

// What a property of an element is to the reader.
enum PropertyRole { roleSkip, roleX, roleY, roleZ, roleCorners };

struct PlyProperty {
    std::string name;
    bool isList = false;
    PlyType countType = plyUchar;
    PlyType type = plyFloat;
    PropertyRole role = roleSkip;
};

struct PlyElement {
    std::string name;
    unsigned long long count = 0;
    long long line = 0;
    std::vector<PlyProperty> properties;
};

struct PlyHeader {
    PlyFormat format = plyAscii;
    std::vector<PlyElement> elements;
    // Offset of the body and the line it starts on.
    size_t bodyStart = 0;
    long long bodyLine = 0;
    long long endLine = 0;
    int vertexElement = -1;
    int faceElement = -1;
};

// Reads the header up to its "end_header" line; false with a reason.
bool readHeader(const char* data, size_t size, PlyHeader& header, std::string& reason)
{
    size_t at = 0;
    long long line = 0;
    bool formatSeen = false;
    for (;;) {
        ++line;
        const char* start = data + at;
        const void* feed = std::memchr(start, '\n', size - at);
        if (!feed) {
            reason = atLine(line) + "fin du fichier dans l'en-tête (« end_header » attendu)";
            return false;
        }
        const char* end = static_cast<const char*>(feed);
        at = static_cast<size_t>(end - data) + 1;
        Words words{start, end};
        std::string_view keyword = words.next();
        if (line == 1) {
            if (keyword != "ply" || !words.atEnd()) {
                reason = atLine(line) + "« ply » attendu en première ligne";
                return false;
            }
            continue;
        }
        if (keyword == "comment" || keyword == "obj_info" || (keyword.empty() && words.atEnd()))
            continue;
        if (keyword == "format") {
            std::string_view name = words.next();
            std::string_view version = words.next();
            if (name == "ascii")
                header.format = plyAscii;
            else if (name == "binary_little_endian")
                header.format = plyLittle;
            else if (name == "binary_big_endian")
                header.format = plyBig;
            else {
                reason = atLine(line) + "format PLY inconnu « " + std::string(name) + " »";
                return false;
            }
            if (version != "1.0" || !words.atEnd()) {
                reason = atLine(line) + "version PLY « " + std::string(version) + " » inconnue (1.0 attendue)";
                return false;
            }
            formatSeen = true;
        } else if (keyword == "element") {
            PlyElement element;
            element.name = words.next();
            long long count = 0;
            if (element.name.empty() || !wordToInteger(words.next(), count) || count < 0 || !words.atEnd()) {
                reason = atLine(line) + "élément mal déclaré (« element nom nombre » attendu)";
                return false;
            }
            element.count = static_cast<unsigned long long>(count);
            element.line = line;
            int index = static_cast<int>(header.elements.size());
            int* known = element.name == "vertex" ? &header.vertexElement
                         : element.name == "face" ? &header.faceElement
                                                  : nullptr;
            if (known) {
                if (*known >= 0) {
                    reason = atLine(line) + "élément « " + element.name + " » déclaré deux fois";
                    return false;
                }
                *known = index;
            }
            header.elements.push_back(std::move(element));
        } else if (keyword == "property") {
            if (header.elements.empty()) {
                reason = atLine(line) + "propriété déclarée avant tout élément";
                return false;
            }
            PlyProperty property;
            std::string_view typeWord = words.next();
            if (typeWord == "list") {
                property.isList = true;
                std::string_view countWord = words.next();
                if (!plyTypeOf(countWord, property.countType)) {
                    reason = atLine(line) + "type de propriété inconnu « " + std::string(countWord) + " »";
                    return false;
                }
                if (!isIntegerType(property.countType)) {
                    reason = atLine(line) + "le nombre d'une liste doit être entier";
                    return false;
                }
                typeWord = words.next();
            }
            if (!plyTypeOf(typeWord, property.type)) {
                reason = atLine(line) + "type de propriété inconnu « " + std::string(typeWord) + " »";
                return false;
            }
            property.name = words.next();
            if (property.name.empty() || !words.atEnd()) {
                reason = atLine(line) + "propriété mal déclarée";
                return false;
            }
            int element = static_cast<int>(header.elements.size()) - 1;
            if (element == header.vertexElement && !property.isList) {
                if (property.name == "x")
                    property.role = roleX;
                else if (property.name == "y")
                    property.role = roleY;
                else if (property.name == "z")
                    property.role = roleZ;
            } else if (element == header.faceElement &&
                       (property.name == "vertex_indices" || property.name == "vertex_index")) {
                if (!property.isList || !isIntegerType(property.type)) {
                    reason = atLine(line) + "« " + property.name + " » doit être une liste d'entiers";
                    return false;
                }
                property.role = roleCorners;
            }
            for (const PlyProperty& other : header.elements.back().properties)
                if (property.role != roleSkip && other.role == property.role) {
                    reason = atLine(line) + "propriété « " + property.name + " » déclarée deux fois";
                    return false;
                }
            header.elements.back().properties.push_back(std::move(property));
        } else if (keyword == "end_header") {
            if (!words.atEnd()) {
                reason = atLine(line) + "« end_header » attendu seul sur sa ligne";
                return false;
            }
            break;
        } else {
            reason = atLine(line) + "ligne d'en-tête inconnue « " + std::string(keyword) + " »";
            return false;
        }
    }
    header.bodyStart = at;
    header.bodyLine = line + 1;
    header.endLine = line;
    if (!formatSeen) {
        reason = atLine(line) + "ligne « format » absente de l'en-tête";
        return false;
    }
    if (header.vertexElement < 0 || header.elements[header.vertexElement].count == 0) {
        reason = atLine(line) + "le fichier ne contient aucun sommet";
        return false;
    }
    if (header.faceElement < 0 || header.elements[header.faceElement].count == 0) {
        reason = atLine(line) + "le fichier ne contient aucune face";
        return false;
    }
    const PlyElement& vertices = header.elements[header.vertexElement];
    for (PropertyRole role : {roleX, roleY, roleZ}) {
        bool found = false;
        for (const PlyProperty& property : vertices.properties)
            found = found || property.role == role;
        if (!found) {
            reason = atLine(vertices.line) + "propriété « " + "xyz"[role - roleX] + " » absente de l'élément vertex";
            return false;
        }
    }
    const PlyElement& faces = header.elements[header.faceElement];
    bool cornersFound = false;
    for (const PlyProperty& property : faces.properties)
        cornersFound = cornersFound || property.role == roleCorners;
    if (!cornersFound) {
        reason = atLine(faces.line) + "liste « vertex_indices » absente de l'élément face";
        return false;
    }
    for (const PlyElement* element : {&vertices, &faces})
        if (element->count > static_cast<unsigned long long>(INT_MAX)) {
            reason = atLine(element->line) + "l'élément « " + element->name + " » annonce " +
                     std::to_string(element->count) + " enregistrements, plus que le lecteur n'en admet";
            return false;
        }
    return true;
}

// The fewest bytes a record of the element takes in the body: in binary its
// fixed sizes and list counts, in text two characters per number; a face list
// holds at least three corners in a readable file.
unsigned long long shortestRecord(const PlyElement& element, PlyFormat format)
{
    unsigned long long bytes = 0;
    for (const PlyProperty& property : element.properties) {
        unsigned long long values = property.role == roleCorners ? 3 : 0;
        if (format == plyAscii)
            bytes += 2 * (1 + values);
        else if (property.isList)
            bytes += static_cast<unsigned long long>(plyTypeSize[property.countType] + values * plyTypeSize[property.type]);
        else
            bytes += static_cast<unsigned long long>(plyTypeSize[property.type]);
    }
    return bytes;
}

// A number of binary data as a double, of any PLY type.
inline double binaryValue(const char* p, PlyType type, bool swap)
{
    switch (type) {
    case plyChar: return static_cast<std::int8_t>(*p);
    case plyUchar: return static_cast<std::uint8_t>(*p);
    case plyShort: return loadBinary<std::int16_t>(p, swap);
    case plyUshort: return loadBinary<std::uint16_t>(p, swap);
    case plyInt: return loadBinary<std::int32_t>(p, swap);
    case plyUint: return loadBinary<std::uint32_t>(p, swap);
    case plyFloat: return loadBinary<float>(p, swap);
    case plyDouble: return loadBinary<double>(p, swap);
    }
    return 0.0;
}

// A number of binary data of an integer PLY type.
inline long long binaryInteger(const char* p, PlyType type, bool swap)
{
    switch (type) {
    case plyChar: return static_cast<std::int8_t>(*p);
    case plyUchar: return static_cast<std::uint8_t>(*p);
    case plyShort: return loadBinary<std::int16_t>(p, swap);
    case plyUshort: return loadBinary<std::uint16_t>(p, swap);
    case plyInt: return loadBinary<std::int32_t>(p, swap);
    case plyUint: return loadBinary<std::uint32_t>(p, swap);
    default: return 0;
    }
}

// The body being read: the file, the place reached, and the mesh being filled.
struct Body {
    const char* data;
    size_t size;
    size_t at;
    long long line;  // text: line of the place reached
    bool swap;
    const PlyHeader& header;
    Mesh& mesh;
    FaceCollector faces;
    std::vector<int> corners;
    std::string& reason;
};

std::string endOfFileText(const PlyElement& element)
{
    return "fin du fichier dans l'élément « " + element.name + " » (" + std::to_string(element.count) + " annoncés)";
}

bool readBinaryElement(Body& body, const PlyElement& element, bool isVertex, bool isFace)
{
    const size_t size = body.size;
    // An element of fixed-size records that the reader does not keep is stepped over at once.
    if (!isVertex && !isFace) {
        bool fixed = true;
        for (const PlyProperty& property : element.properties)
            fixed = fixed && !property.isList;
        if (fixed) {
            // Each count was checked against the file's size with the header,
            // but not the elements together: what is stepped over must be there.
            const unsigned long long bytes = element.count * shortestRecord(element, plyLittle);
            if (body.at > size || bytes > size - body.at) {
                body.reason = atByte(static_cast<long long>(std::min(body.at, size))) + endOfFileText(element);
                return false;
            }
            body.at += static_cast<size_t>(bytes);
            return true;
        }
    }
    const int vertexCount = static_cast<int>(body.header.elements[body.header.vertexElement].count);
    double* xyz[3] = {body.mesh.vertexX.data(), body.mesh.vertexY.data(), body.mesh.vertexZ.data()};
    for (unsigned long long record = 0; record < element.count; ++record) {
        for (const PlyProperty& property : element.properties) {
            const size_t place = body.at;
            if (property.isList) {
                const int countSize = plyTypeSize[property.countType];
                if (size - body.at < static_cast<size_t>(countSize)) {
                    body.reason = atByte(static_cast<long long>(place)) + endOfFileText(element);
                    return false;
                }
                long long count = binaryInteger(body.data + body.at, property.countType, body.swap);
                body.at += static_cast<size_t>(countSize);
                const size_t valueSize = static_cast<size_t>(plyTypeSize[property.type]);
                if (count < 0) {
                    body.reason = atByte(static_cast<long long>(place)) +
                                  (property.role == roleCorners ? faceTooSmallText(count)
                                                                : "liste de " + std::to_string(count) + " valeurs");
                    return false;
                }
                if (static_cast<unsigned long long>(count) > (size - body.at) / valueSize) {
                    body.reason = atByte(static_cast<long long>(size)) + endOfFileText(element);
                    return false;
                }
                if (property.role != roleCorners) {
                    body.at += static_cast<size_t>(count) * valueSize;
                    continue;
                }
                if (count < 3) {
                    body.reason = atByte(static_cast<long long>(place)) + faceTooSmallText(count);
                    return false;
                }
                body.corners.resize(static_cast<size_t>(count));
                for (long long k = 0; k < count; ++k) {
                    long long index = binaryInteger(body.data + body.at, property.type, body.swap);
                    if (index < 0 || index >= vertexCount) {
                        body.reason = atByte(static_cast<long long>(body.at)) + badIndexText(index, vertexCount);
                        return false;
                    }
                    body.corners[static_cast<size_t>(k)] = static_cast<int>(index);
                    body.at += valueSize;
                }
                putFace(body.faces, static_cast<int>(record), body.corners.data(), static_cast<int>(count));
            } else {
                const size_t valueSize = static_cast<size_t>(plyTypeSize[property.type]);
                if (size - body.at < valueSize) {
                    body.reason = atByte(static_cast<long long>(place)) + endOfFileText(element);
                    return false;
                }
                if (property.role != roleSkip) {
                    double value = binaryValue(body.data + body.at, property.type, body.swap);
                    if (!std::isfinite(value)) {
                        body.reason = atByte(static_cast<long long>(place)) + nonFiniteText;
                        return false;
                    }
                    xyz[property.role - roleX][record] = value;
                }
                body.at += valueSize;
            }
        }
    }
    return true;
}

// The next number of the text body; false at the end of the file.
bool nextWord(Body& body, std::string_view& word)
{
    const char* p = body.data + body.at;
    const char* end = body.data + body.size;
    long long feeds = 0;
    while (p < end && (isBlank(*p) || *p == '\n')) {
        feeds += *p == '\n';
        ++p;
    }
    if (p == end)
        return false;  // the end of the file is said on the line of the last number
    body.line += feeds;
    const char* start = p;
    while (p < end && !isBlank(*p) && *p != '\n')
        ++p;
    body.at = static_cast<size_t>(p - body.data);
    word = std::string_view(start, static_cast<size_t>(p - start));
    return true;
}

bool readTextElement(Body& body, const PlyElement& element)
{
    // An element without properties takes no room, however many records it announces.
    if (element.properties.empty())
        return true;
    const int vertexCount = static_cast<int>(body.header.elements[body.header.vertexElement].count);
    double* xyz[3] = {body.mesh.vertexX.data(), body.mesh.vertexY.data(), body.mesh.vertexZ.data()};
    std::string_view word;
    for (unsigned long long record = 0; record < element.count; ++record) {
        for (const PlyProperty& property : element.properties) {
            if (!nextWord(body, word)) {
                body.reason = atLine(body.line) + endOfFileText(element);
                return false;
            }
            if (property.isList) {
                long long count = 0;
                if (!wordToInteger(word, count)) {
                    body.reason = atLine(body.line) + "nombre entier attendu au lieu de « " + std::string(word) + " »";
                    return false;
                }
                if (property.role == roleCorners && count < 3) {
                    body.reason = atLine(body.line) + faceTooSmallText(count);
                    return false;
                }
                if (count < 0) {
                    body.reason = atLine(body.line) + "liste de " + std::to_string(count) + " valeurs";
                    return false;
                }
                // Every value takes two bytes at least: a longer count cannot be read to its end.
                if (static_cast<unsigned long long>(count) > (body.size - body.at) / 2 + 1) {
                    body.reason = atLine(body.line) + endOfFileText(element);
                    return false;
                }
                if (property.role == roleCorners)
                    body.corners.resize(static_cast<size_t>(count));
                for (long long k = 0; k < count; ++k) {
                    if (!nextWord(body, word)) {
                        body.reason = atLine(body.line) + endOfFileText(element);
                        return false;
                    }
                    if (property.role != roleCorners)
                        continue;
                    long long index = 0;
                    if (!wordToInteger(word, index)) {
                        body.reason = atLine(body.line) + "indice entier attendu au lieu de « " + std::string(word) + " »";
                        return false;
                    }
                    if (index < 0 || index >= vertexCount) {
                        body.reason = atLine(body.line) + badIndexText(index, vertexCount);
                        return false;
                    }
                    body.corners[static_cast<size_t>(k)] = static_cast<int>(index);
                }
                if (property.role == roleCorners)
                    putFace(body.faces, static_cast<int>(record), body.corners.data(), static_cast<int>(count));
            } else if (property.role != roleSkip) {
                double value = 0.0;
                if (!wordToReal(word, value)) {
                    body.reason = atLine(body.line) + "nombre attendu au lieu de « " + std::string(word) + " »";
                    return false;
                }
                if (!std::isfinite(value)) {
                    body.reason = atLine(body.line) + nonFiniteText;
                    return false;
                }
                xyz[property.role - roleX][record] = value;
            }
        }
    }
    return true;
}

} // namespace

namespace {

bool readPlyBody(const char* data, size_t size, Mesh& mesh, std::string& reason)
{
    PlyHeader header;
    if (!readHeader(data, size, header, reason))
        return false;
    // Counts the body cannot hold would only drive a useless allocation.
    unsigned long long room = size - header.bodyStart + (header.format == plyAscii ? 1 : 0);
    for (const PlyElement& element : header.elements) {
        unsigned long long shortest = shortestRecord(element, header.format);
        if (shortest > 0 && element.count > room / shortest) {
            reason = atLine(element.line) + "l'élément « " + element.name + " » annonce " +
                     std::to_string(element.count) + " enregistrements, plus que le fichier ne peut en contenir";
            return false;
        }
        room -= element.count * shortest;
    }
    Body body{data, size, header.bodyStart, header.bodyLine, (header.format == plyBig) == hostIsLittleEndian,
              header, mesh, FaceCollector(), {}, reason};
    beginPolygonMesh(mesh, static_cast<int>(header.elements[header.vertexElement].count),
                     static_cast<int>(header.elements[header.faceElement].count), body.faces);
    for (size_t e = 0; e < header.elements.size(); ++e) {
        const PlyElement& element = header.elements[e];
        bool sound = header.format == plyAscii
                         ? readTextElement(body, element)
                         : readBinaryElement(body, element, static_cast<int>(e) == header.vertexElement,
                                             static_cast<int>(e) == header.faceElement);
        if (!sound)
            return false;
    }
    return finishPolygonMesh(body.faces, reason);
}

} // namespace

bool readPly(const char* data, size_t size, Mesh& mesh, std::string& reason)
{
    return readGuarded([&] { return readPlyBody(data, size, mesh, reason); }, reason);
}
