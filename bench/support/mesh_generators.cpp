// Generated meshes: regular grids laid on a torus, a square and a sphere.
#include "bench/support/mesh_generators.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>

#include "model/off_file.h"
#include "app/session.h"

namespace {

void addVertex(GeneratedMesh& m, double x, double y, double z)
{
    m.x.push_back(x);
    m.y.push_back(y);
    m.z.push_back(z);
}

void addFace(GeneratedMesh& m, int a, int b, int c)
{
    m.a.push_back(a);
    m.b.push_back(b);
    m.c.push_back(c);
}

// Buffered text output of a mesh file.
struct TextFile {
    std::FILE* file;
    std::vector<char> block = std::vector<char>(1 << 20);
    size_t used = 0;
    bool failed = false;

    void flushIfFull()
    {
        if (block.size() - used < 256)
            flush();
    }
    void flush()
    {
        if (used && std::fwrite(block.data(), 1, used, file) != used)
            failed = true;
        used = 0;
    }
    void text(const char* s)
    {
        while (*s)
            block[used++] = *s++;
    }
    void integer(int v) { used = std::to_chars(&block[used], block.data() + block.size(), v).ptr - block.data(); }
    void real(double v)
    {
        used = std::to_chars(&block[used], block.data() + block.size(), v, std::chars_format::fixed, 6).ptr -
               block.data();
    }
};

} // namespace

GeneratedMesh torusMesh(int triangles)
{
    int minor = std::max(3, static_cast<int>(std::sqrt(triangles / 4.0)));
    int major = std::max(3, triangles / (2 * minor));
    GeneratedMesh m;
    const double pi = std::acos(-1.0);
    for (int i = 0; i < major; ++i)
        for (int j = 0; j < minor; ++j) {
            double u = 2 * pi * i / major, v = 2 * pi * j / minor;
            double r = 2.0 + 0.7 * std::cos(v);
            addVertex(m, r * std::cos(u), r * std::sin(u), 0.7 * std::sin(v));
        }
    for (int i = 0; i < major; ++i)
        for (int j = 0; j < minor; ++j) {
            int v00 = i * minor + j, v10 = ((i + 1) % major) * minor + j;
            int v01 = i * minor + (j + 1) % minor, v11 = ((i + 1) % major) * minor + (j + 1) % minor;
            addFace(m, v00, v10, v11);
            addFace(m, v00, v11, v01);
        }
    return m;
}

GeneratedMesh squareGridMesh(int triangles)
{
    int n = std::max(1, static_cast<int>(std::lround(std::sqrt(triangles / 2.0))));
    GeneratedMesh m;
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j)
            addVertex(m, static_cast<double>(j) / n, static_cast<double>(i) / n, 0.0);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            int v00 = i * (n + 1) + j, v01 = v00 + 1, v10 = v00 + n + 1, v11 = v10 + 1;
            addFace(m, v00, v01, v11);
            addFace(m, v00, v11, v10);
        }
    return m;
}

GeneratedMesh cappedSphereMesh(int triangles)
{
    int rings = std::max(3, static_cast<int>(std::sqrt(triangles / 4.0)));
    int segments = 2 * rings;
    GeneratedMesh m;
    const double pi = std::acos(-1.0);
    // Rings 1 .. rings-1 from the (removed) north pole, then the south pole.
    for (int k = 1; k < rings; ++k) {
        double theta = pi * k / rings;
        for (int s = 0; s < segments; ++s) {
            double phi = 2 * pi * s / segments;
            addVertex(m, std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi), std::cos(theta));
        }
    }
    int south = m.vertexCount();
    addVertex(m, 0.0, 0.0, -1.0);
    for (int k = 0; k + 2 < rings; ++k)
        for (int s = 0; s < segments; ++s) {
            int v00 = k * segments + s, v01 = k * segments + (s + 1) % segments;
            int v10 = v00 + segments, v11 = v01 + segments;
            addFace(m, v00, v10, v11);
            addFace(m, v00, v11, v01);
        }
    int last = (rings - 2) * segments;
    for (int s = 0; s < segments; ++s)
        addFace(m, last + s, south, last + (s + 1) % segments);
    return m;
}

GeneratedMesh jitteredHeightFieldMesh(int k, unsigned seed, bool flat)
{
    k = std::max(k, 2);
    const double cell = 1.0 / (k - 1);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> shift(-0.35 * cell, 0.35 * cell), noise(-0.5 * cell, 0.5 * cell);
    std::bernoulli_distribution flip(0.5);
    GeneratedMesh m;
    m.x.reserve(static_cast<size_t>(k) * k);
    m.y.reserve(static_cast<size_t>(k) * k);
    m.z.reserve(static_cast<size_t>(k) * k);
    for (int j = 0; j < k; ++j)
        for (int i = 0; i < k; ++i) {
            bool inner = i > 0 && j > 0 && i < k - 1 && j < k - 1;
            double x = i * cell + (inner ? shift(random) : 0.0);
            double y = j * cell + (inner ? shift(random) : 0.0);
            double relief = 0.08 * std::sin(7.0 * x) * std::cos(5.0 * y) + 0.03 * std::sin(23.0 * x + 17.0 * y);
            double height = relief + noise(random);
            addVertex(m, x, y, flat ? 0.0 : height);
        }
    m.a.reserve(2 * static_cast<size_t>(k - 1) * (k - 1));
    m.b.reserve(m.a.capacity());
    m.c.reserve(m.a.capacity());
    for (int j = 0; j + 1 < k; ++j)
        for (int i = 0; i + 1 < k; ++i) {
            int v00 = j * k + i, v01 = v00 + 1, v10 = v00 + k, v11 = v10 + 1;
            if (flip(random)) {
                addFace(m, v00, v01, v11);
                addFace(m, v00, v11, v10);
            } else {
                addFace(m, v00, v01, v10);
                addFace(m, v01, v11, v10);
            }
        }
    return m;
}

void putMeshInStore(const GeneratedMesh& mesh)
{
    currentModel = Mesh();
    currentModel.vertexCount = mesh.vertexCount();
    currentModel.faceCount = mesh.faceCount();
    currentModel.vertexX = mesh.x;
    currentModel.vertexY = mesh.y;
    currentModel.vertexZ = mesh.z;
    currentModel.faceA = mesh.a;
    currentModel.faceB = mesh.b;
    currentModel.faceC = mesh.c;
    currentModel.modelLoaded = true;
    computeCenterAndRadius(currentModel);
}

namespace {

bool writeMesh(const GeneratedMesh& mesh, const std::string& path, bool withHeader)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    TextFile out{file};
    if (withHeader)
        out.text("OFF\n ");
    out.integer(mesh.vertexCount());
    out.text(withHeader ? "  " : " ");
    out.integer(mesh.faceCount());
    out.text(withHeader ? "  0\n" : "\n");
    const char* gap = withHeader ? "  " : " ";
    for (int i = 0; i < mesh.vertexCount(); ++i) {
        out.flushIfFull();
        if (withHeader)
            out.text(gap);
        out.real(mesh.x[i]);
        out.text(gap);
        out.real(mesh.y[i]);
        out.text(gap);
        out.real(mesh.z[i]);
        out.text("\n");
    }
    for (int i = 0; i < mesh.faceCount(); ++i) {
        out.flushIfFull();
        out.text(withHeader ? "  3  " : "3 ");
        out.integer(mesh.a[i]);
        out.text(gap);
        out.integer(mesh.b[i]);
        out.text(gap);
        out.integer(mesh.c[i]);
        out.text("\n");
    }
    out.flush();
    bool closed = std::fclose(file) == 0;
    return closed && !out.failed;
}

} // namespace

bool writeOffFile(const GeneratedMesh& mesh, const std::string& path) { return writeMesh(mesh, path, true); }

bool writeNumericFile(const GeneratedMesh& mesh, const std::string& path) { return writeMesh(mesh, path, false); }
