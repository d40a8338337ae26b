// PLY, STL and OBJ files: every variant of a small pyramid reads as its OFF
// twin, the polygon rule (quads exactly as the OFF reader splits them, a
// pentagon), STL corner welding, faulty files with their reasons, format
// detection, and writer-to-reader round trips.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "app/uv_export.h"
#include "app/session.h"
#include "model/mesh_formats.h"
#include "model/off_file.h"
#include "model/polygon_mesh.h"

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string dataFile(const std::string& name) { return readFile(std::string(TEST_DATA_DIR) + "/formats/" + name); }

using Reader = bool (*)(const char*, size_t, Mesh&, std::string&);

Mesh readWith(Reader reader, const std::string& bytes)
{
    Mesh mesh;
    std::string reason;
    EXPECT_TRUE(reader(bytes.data(), bytes.size(), mesh, reason)) << reason;
    return mesh;
}

// The mesh the OFF reader makes of the text.
Mesh offMesh(const std::string& text)
{
    Mesh mesh;
    std::string reason;
    EXPECT_TRUE(parseModelText(text.c_str(), text.size(), mesh, reason)) << reason;
    return mesh;
}

// Same counts, arrays at their exact size and equal to the bit, same centre and radius.
void expectSameMesh(const Mesh& got, const Mesh& want, const std::string& what)
{
    SCOPED_TRACE(what);
    ASSERT_TRUE(got.modelLoaded);
    ASSERT_EQ(got.vertexCount, want.vertexCount);
    ASSERT_EQ(got.faceCount, want.faceCount);
    for (const auto* a : {&got.vertexX, &got.vertexY, &got.vertexZ})
        EXPECT_EQ(a->size(), static_cast<size_t>(got.vertexCount));
    for (const auto* a : {&got.faceA, &got.faceB, &got.faceC})
        EXPECT_EQ(a->size(), static_cast<size_t>(got.faceCount));
    for (int i = 0; i < want.vertexCount; ++i)
        EXPECT_TRUE(got.vertexX[i] == want.vertexX[i] && got.vertexY[i] == want.vertexY[i] &&
                    got.vertexZ[i] == want.vertexZ[i])
            << "vertex " << i;
    for (int i = 0; i < want.faceCount; ++i)
        EXPECT_TRUE(got.faceA[i] == want.faceA[i] && got.faceB[i] == want.faceB[i] && got.faceC[i] == want.faceC[i])
            << "face " << i;
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(got.modelCenter[k], want.modelCenter[k]);
    EXPECT_EQ(got.modelRadius, want.modelRadius);
}

TEST(MeshFormats, EveryVariantReadsAsItsOffTwin)
{
    const struct {
        const char* file;
        Reader reader;
        const char* twin;
    } cases[] = {
        {"pyramid_ascii.ply", readPly, "pyramid.off"},  {"pyramid_le.ply", readPly, "pyramid.off"},
        {"pyramid_be.ply", readPly, "pyramid.off"},     {"pyramid.obj", readObj, "pyramid.off"},
        {"pyramid_ascii.stl", readStl, "pyramid_tri.off"}, {"pyramid_binary.stl", readStl, "pyramid_tri.off"},
    };
    for (const auto& c : cases)
        expectSameMesh(readWith(c.reader, dataFile(c.file)), offMesh(dataFile(c.twin)), c.file);
}

// ---- the polygon rule

TEST(MeshFormats, QuadsSplitExactlyAsTheOffReaderSplitsThem)
{
    // Random coordinates make the centre's rounding depend on the order of the sum.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-1e3, 1e3);
    std::uniform_int_distribution<int> corner(0, 39);
    std::vector<double> x, y, z;
    std::vector<int> corners, sizes;
    std::string off = "OFF\n40 30 0\n";
    char number[64];
    for (int i = 0; i < 40; ++i) {
        for (auto* a : {&x, &y, &z}) {
            a->push_back(coordinate(random));
            std::snprintf(number, sizeof number, "%.17g ", a->back());
            off += number;
        }
        off += "\n";
    }
    for (int f = 0; f < 30; ++f) {
        int n = f % 3 == 0 ? 3 : 4;
        sizes.push_back(n);
        off += std::to_string(n);
        for (int k = 0; k < n; ++k) {
            corners.push_back(corner(random));
            off += " " + std::to_string(corners.back());
        }
        off += "\n";
    }
    Mesh mesh;
    std::string reason;
    ASSERT_TRUE(buildPolygonMesh(mesh, x, y, z, corners, sizes, reason)) << reason;
    expectSameMesh(mesh, offMesh(off), "quads");
}

TEST(MeshFormats, PentagonGetsItsCentreAndFiveTriangles)
{
    Mesh mesh = readWith(readObj, dataFile("pentagon.obj"));
    ASSERT_EQ(mesh.vertexCount, 7);
    ASSERT_EQ(mesh.faceCount, 6);
    EXPECT_EQ(mesh.vertexX[6], (0.0 + 1.0 + 2.0 + 1.0 + 0.0) / 5);
    EXPECT_EQ(mesh.vertexY[6], (0.0 + 0.0 + 1.0 + 2.0 + 1.0) / 5);
    EXPECT_EQ(mesh.vertexZ[6], 0.0);
    const int want[6][3] = {{0, 1, 6}, {0, 4, 5}, {1, 2, 6}, {2, 3, 6}, {3, 4, 6}, {4, 0, 6}};
    for (int f = 0; f < 6; ++f)
        EXPECT_TRUE(mesh.faceA[f] == want[f][0] && mesh.faceB[f] == want[f][1] && mesh.faceC[f] == want[f][2])
            << "face " << f;
}

// ---- STL welding

TEST(MeshFormats, StlCornersWeldOnEqualValuesInOrderOfFirstAppearance)
{
    auto facet = [](const char* a, const char* b, const char* c) {
        return std::string("facet normal 0 0 1\nouter loop\nvertex ") + a + "\nvertex " + b + "\nvertex " + c +
               "\nendloop\nendfacet\n";
    };
    // -0 equals 0; 1 and the next double above it differ; 1e0 and 1 are one value.
    const std::string text = "solid s\n" + facet("1 0 0", "0 1 0", "-0 0 0") + facet("0 0 0", "1e0 0 0", "0 0 1") +
                             facet("1.0000000000000002 0 0", "0 1 0", "0 0 1") + "endsolid s\n";
    Mesh mesh = readWith(readStl, text);
    ASSERT_EQ(mesh.vertexCount, 5);
    const int want[3][3] = {{0, 1, 2}, {2, 0, 3}, {4, 1, 3}};
    for (int f = 0; f < 3; ++f)
        EXPECT_TRUE(mesh.faceA[f] == want[f][0] && mesh.faceB[f] == want[f][1] && mesh.faceC[f] == want[f][2])
            << "face " << f;
    // The welded vertex keeps its first corner's coordinates (-0 here).
    EXPECT_TRUE(std::signbit(mesh.vertexX[2]));
    EXPECT_EQ(mesh.vertexX[4], 1.0000000000000002);
}

// ---- faulty files

TEST(MeshFormats, FaultyFilesGiveWhereAndWhy)
{
    const std::string plyHead = "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\n"
                                "property float z\nelement face 1\nproperty list uchar int vertex_indices\nend_header\n";
    const std::string plyBinaryHead = "ply\nformat binary_little_endian 1.0\nelement vertex 3\nproperty float x\n"
                                      "property float y\nproperty float z\nelement face 1\n"
                                      "property list uchar int vertex_indices\nend_header\n";
    auto withCount = [&plyHead](const char* count) {
        std::string text = plyHead;
        return text.replace(text.find("vertex 3"), 8, std::string("vertex ") + count);
    };
    const long long body = static_cast<long long>(plyBinaryHead.size());
    std::string infinite = plyBinaryHead + std::string(12, '\0');
    infinite += std::string("\x00\x00\x80\x7f", 4) + std::string(20, '\0') + "\x03" + std::string(12, '\0');
    std::string stl(84 + 50, '\0');
    stl[80] = 2;  // two triangles announced, one present
    std::string stlNan(84 + 50, '\0');
    stlNan[80] = 1;
    stlNan.replace(84 + 12 + 4, 4, std::string("\x00\x00\xc0\x7f", 4));
    const struct {
        Reader reader;
        std::string bytes;
        std::string reason;
    } cases[] = {
        {readPly, "plx\n", "ligne 1 : « ply » attendu en première ligne"},
        {readPly, "ply\nformat binary_middle_endian 1.0\nend_header\n",
         "ligne 2 : format PLY inconnu « binary_middle_endian »"},
        {readPly, "ply\nformat ascii 1.0\nelement vertex 3\nproperty real x\nend_header\n",
         "ligne 4 : type de propriété inconnu « real »"},
        {readPly, "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\n",
         "ligne 5 : fin du fichier dans l'en-tête (« end_header » attendu)"},
        {readPly,
         "ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\nproperty float y\nelement face 1\n"
         "property list uchar int vertex_indices\nend_header\n0 0\n3 0 0 0\n",
         "ligne 3 : propriété « z » absente de l'élément vertex"},
        {readPly, "ply\nformat ascii 1.0\nelement vertex 0\nend_header\n", "ligne 4 : le fichier ne contient aucun sommet"},
        {readPly, plyHead.substr(0, plyHead.find("element face")) + "end_header\n0 0 0\n",
         "ligne 7 : le fichier ne contient aucune face"},
        {readPly, withCount("4000000000") + "0 0 0\n",
         "ligne 3 : l'élément « vertex » annonce 4000000000 enregistrements, plus que le lecteur n'en admet"},
        {readPly, withCount("300000") + "0 0 0\n",
         "ligne 3 : l'élément « vertex » annonce 300000 enregistrements, plus que le fichier ne peut en contenir"},
        {readPly, plyHead + "0 0 0\n1 1 1\n2 2 nan\n3 0 1 2\n", "ligne 12 : coordonnée non finie"},
        {readPly, plyHead + "0 0 0\n1 1 1\n2 2 2\n3 0 1 3\n", "ligne 13 : l'indice 3 ne désigne aucun sommet (3 sommets)"},
        {readPly, plyHead + "0 0 0\n1 1 1\n2 2 2\n2 0 1    \n", "ligne 13 : la face a 2 sommets (au moins 3 attendus)"},
        {readPly, plyHead + "0 0 0\n1 1 1\n2 2 2\n4 0 1 2\n", "ligne 13 : fin du fichier dans l'élément « face » (1 annoncés)"},
        {readPly, infinite, "octet " + std::to_string(body + 12) + " : coordonnée non finie"},
        {readPly, plyBinaryHead + std::string(36, '\0') + "\x04" + std::string(12, '\0'),
         "octet " + std::to_string(body + 49) + " : fin du fichier dans l'élément « face » (1 annoncés)"},
        {readStl, stl, "octet 134 : fin du fichier dans le corps binaire (2 triangles annoncés)"},
        {readStl, stlNan, "octet 100 : coordonnée non finie"},
        {readStl, "solid s\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nendloop\nendfacet\n",
         "ligne 7 : la face a 2 sommets (au moins 3 attendus)"},
        {readStl, "solid s\nfacet normal 0 0 1\nvertex 0 0 0\n", "ligne 3 : « vertex » inattendu ici"},
        {readStl, "solid s\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\n", "ligne 4 : fin du fichier dans une facette"},
        {readStl, "solid s\nendsolid s\n", "ligne 2 : le fichier ne contient aucune face"},
        {readObj, "v 0 0 0\nv 1 0 0\nf 1 2\n", "ligne 3 : la face a 2 sommets (au moins 3 attendus)"},
        {readObj, "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\n", "ligne 4 : l'indice 4 ne désigne aucun sommet (3 sommets)"},
        {readObj, "v 0 0 0\nv 1 0 0\nf -1 -2 -3\nv 0 1 0\n", "ligne 3 : l'indice -3 ne désigne aucun sommet (2 sommets)"},
        {readObj, "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 0\n", "ligne 4 : l'indice 0 ne désigne aucun sommet (3 sommets)"},
        {readObj, "v 0 0 0\nv 1 inf 0\nv 0 1 0\nf 1 2 3\n", "ligne 2 : coordonnée non finie"},
        {readObj, "v 0 0\nf 1 1 1\n", "ligne 1 : trois coordonnées attendues après « v »"},
        {readObj, "v 0 0 0\nf 1/x 1 1\n", "ligne 2 : coin de face illisible « 1/x »"},
        {readObj, "# nothing\nf 1 2 3\n", "ligne 2 : le fichier ne contient aucun sommet"},
        {readObj, "v 0 0 0\n", "ligne 1 : le fichier ne contient aucune face"},
    };
    for (const auto& c : cases) {
        Mesh mesh;
        std::string reason;
        EXPECT_FALSE(c.reader(c.bytes.data(), c.bytes.size(), mesh, reason)) << c.reason;
        EXPECT_EQ(reason, c.reason);
    }
    // Lists longer than their shortest form, then an element of fixed records
    // that each fit alone but no longer together: refused, nothing read past the end.
    const std::string past = readFile(std::string(SOURCE_DIR) + "/fuzz/corpus/ply_reader/lists_then_fixed_element_past_end.ply");
    Mesh mesh;
    std::string reason;
    EXPECT_FALSE(readPly(past.data(), past.size(), mesh, reason));
    EXPECT_EQ(reason.rfind("octet ", 0), 0u) << reason;
}

TEST(MeshFormats, FormatComesFromTheExtensionThenTheContent)
{
    const std::string binaryStl = dataFile("pyramid_binary.stl");
    const struct {
        const char* path;
        std::string data;
        MeshFormat format;
    } cases[] = {
        {"a/b.PLY", "OFF\n", meshFormatPly},        {"m.Stl", "", meshFormatStl},
        {"m.obj", "", meshFormatObj},               {"m.off", "ply\n", meshFormatOff},
        {"dir.ply/m", "# c\n\n OFF\n", meshFormatOff}, {"m", "ply\r\nformat", meshFormatPly},
        {"m.bin", binaryStl, meshFormatStl},        {"m", "  solid x\n", meshFormatStl},
        {"m", "# exported\nmtllib m.mtl\n", meshFormatObj}, {"m", "v 1 2 3\n", meshFormatObj},
        {"m.txt", "hello\n", meshFormatUnknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(meshFormatOf(c.path, c.data), c.format) << c.path;
}

// ---- writers

TEST(MeshFormats, WrittenFilesReadBack)
{
    // The pyramid with its quad split: a centre vertex not representable as a float.
    const Mesh pyramid = readWith(readPly, dataFile("pyramid_le.ply"));
    const std::string ply = plyBytes(pyramid);
    expectSameMesh(readWith(readPly, ply), pyramid, "ply");
    expectSameMesh(readWith(readObj, objBytes(pyramid)), pyramid, "obj");
    EXPECT_EQ(meshFormatOf("m", ply), meshFormatPly);

    // STL holds floats and welds again: the float pyramid comes back whole, with unit outward normals.
    const Mesh floats = readWith(readStl, dataFile("pyramid_binary.stl"));
    const std::string stl = stlBytes(floats);
    EXPECT_NE(stl.compare(0, 5, "solid"), 0);
    expectSameMesh(readWith(readStl, stl), floats, "stl");
    float normal[3];
    std::memcpy(normal, stl.data() + 84, sizeof normal);  // the base (0, 1, 2) faces down
    EXPECT_EQ(normal[0], 0.0f);
    EXPECT_EQ(normal[1], 0.0f);
    EXPECT_EQ(normal[2], -1.0f);
}

TEST(MeshFormats, ObjSaveWithUvIsTheUvExportText)
{
    Mesh mesh = readWith(readObj, dataFile("pyramid.obj"));
    ASSERT_EQ(mesh.vertexCount, 6);
    mesh.vertexU = {-1.0, 0.25, 1.0, 0.5, 0.1, 0.0};
    mesh.vertexV = {1.0, -0.5, 0.3, 0.0, -1.0, 0.0};
    mesh.uvComputed = true;
    // The export writes the model on screen.
    currentModel = mesh;
    char path[] = "/tmp/mesh_formats_uv_XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    ASSERT_TRUE(writeUvObjFile(path));
    const std::string exported = readFile(path);
    std::remove(path);
    currentModel = Mesh();
    EXPECT_EQ(objBytes(mesh), exported);
    EXPECT_NE(exported.find("\nvt 0 0\n"), std::string::npos);
    EXPECT_NE(exported.find("\nf 1/1 2/2 6/6\n"), std::string::npos);
}

} // namespace
