// Meshes for the topology tests: hand-made ones, generated families and
// random variations, and the comparison of the store with the literal build.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

#include "app/session.h"
#include "tests/support/mesh_builder.h"
#include "model/topology.h"
#include "tests/support/topology_oracle.h"

// A mesh as a vertex count and triangles.
struct TestMesh {
    int vertexCount = 0;
    std::vector<std::array<int, 3>> faces;
};

// Puts the mesh in the store (vertex i at (i, 2i, -i), so moves are visible); no topology.
inline void loadMesh(const TestMesh& mesh)
{
    std::vector<std::array<double, 3>> points;
    for (int i = 0; i < mesh.vertexCount; ++i)
        points.push_back({double(i), 2.0 * i, -double(i)});
    setMesh(points, mesh.faces);
}

// The vertices met when following positions 0 .. boundaryLoopLength-1 from
// edgeA[0], ending with the vertex the last edge reaches; empty when an edge
// does not touch the vertex reached.
inline std::vector<int> loopWalk()
{
    std::vector<int> walk;
    if (currentModel.boundaryLoopLength == 0)
        return walk;
    int at = currentModel.edgeA[0];
    walk.push_back(at);
    for (int e = 0; e < currentModel.boundaryLoopLength; ++e) {
        if (currentModel.edgeA[e] == at)
            at = currentModel.edgeB[e];
        else if (currentModel.edgeB[e] == at)
            at = currentModel.edgeA[e];
        else
            return {};
        walk.push_back(at);
    }
    return walk;
}

// Checks that the store holds exactly what the literal build gives.
inline void expectStoreEquals(const TopologyOracleResult& expected)
{
    ASSERT_TRUE(expected.fatalText.empty());
    ASSERT_TRUE(currentModel.topologyBuilt);
    ASSERT_EQ(currentModel.vertexCount, expected.vertexCount);
    ASSERT_EQ(currentModel.faceCount, expected.faceCount);
    EXPECT_EQ(std::vector<double>(currentModel.vertexX.begin(), currentModel.vertexX.begin() + currentModel.vertexCount), expected.x);
    EXPECT_EQ(std::vector<double>(currentModel.vertexY.begin(), currentModel.vertexY.begin() + currentModel.vertexCount), expected.y);
    EXPECT_EQ(std::vector<double>(currentModel.vertexZ.begin(), currentModel.vertexZ.begin() + currentModel.vertexCount), expected.z);
    EXPECT_EQ(std::vector<int>(currentModel.faceA.begin(), currentModel.faceA.begin() + currentModel.faceCount), expected.faceA);
    EXPECT_EQ(std::vector<int>(currentModel.faceB.begin(), currentModel.faceB.begin() + currentModel.faceCount), expected.faceB);
    EXPECT_EQ(std::vector<int>(currentModel.faceC.begin(), currentModel.faceC.begin() + currentModel.faceCount), expected.faceC);
    EXPECT_EQ(currentModel.edgeCount, expected.edgeCount);
    EXPECT_EQ(currentModel.boundaryEdgeCount, expected.boundaryEdgeCount);
    EXPECT_EQ(currentModel.boundaryLoopLength, expected.boundaryLoopLength);
    EXPECT_EQ(currentModel.edgeCapacity, expected.edgeCapacity);
    EXPECT_EQ(currentModel.edgeA, expected.edgeA);
    EXPECT_EQ(currentModel.edgeB, expected.edgeB);
    EXPECT_EQ(currentModel.edgeFace1, expected.edgeFace1);
    EXPECT_EQ(currentModel.edgeFace2, expected.edgeFace2);
}

// Builds the topology of the mesh and compares it with the literal build.
inline void expectBuildMatchesOracle(const TestMesh& mesh)
{
    loadMesh(mesh);
    const TopologyOracleResult expected = topologyOracleOfStore();
    ASSERT_TRUE(expected.fatalText.empty()) << expected.fatalText;
    buildTopology(currentModel);
    expectStoreEquals(expected);
}

// A w x h grid of vertices (w-1) x (h-1) cells, two triangles a cell; with
// wrapX / wrapY the grid closes on itself (a torus when both are set).
inline TestMesh gridMesh(int w, int h, bool wrapX = false, bool wrapY = false)
{
    TestMesh m;
    m.vertexCount = w * h;
    const int cellsX = wrapX ? w : w - 1, cellsY = wrapY ? h : h - 1;
    for (int j = 0; j < cellsY; ++j)
        for (int i = 0; i < cellsX; ++i) {
            const int a = j * w + i, b = j * w + (i + 1) % w;
            const int c = ((j + 1) % h) * w + i, d = ((j + 1) % h) * w + (i + 1) % w;
            m.faces.push_back({a, b, d});
            m.faces.push_back({a, d, c});
        }
    return m;
}

// A ring between an outer polygon of n vertices (0 .. n-1) and an inner one
// of m vertices (n .. n+m-1): n + m triangles, two boundary loops of n and m edges.
inline TestMesh annulusMesh(int n, int m)
{
    TestMesh mesh;
    mesh.vertexCount = n + m;
    int i = 0, j = 0;
    while (i < n || j < m) {
        // Advance on the ring whose next vertex comes first by angle.
        const double nextOuter = i < n ? (i + 1.0) / n : 2.0, nextInner = j < m ? (j + 1.0) / m : 2.0;
        if (nextOuter <= nextInner) {
            mesh.faces.push_back({i, (i + 1) % n, n + j % m});
            ++i;
        } else {
            mesh.faces.push_back({i % n, n + (j + 1) % m, n + j});
            ++j;
        }
    }
    return mesh;
}

// n triangles around vertex 0 (spokes 1 .. n, closed into a cone when closed is set).
inline TestMesh fanMesh(int n, bool closed)
{
    TestMesh mesh;
    mesh.vertexCount = closed ? n + 1 : n + 2;
    for (int i = 0; i < n; ++i)
        mesh.faces.push_back({0, 1 + i, closed ? 1 + (i + 1) % n : 2 + i});
    return mesh;
}

// Appends the second mesh with its own vertices.
inline void appendMesh(TestMesh& to, const TestMesh& part)
{
    for (const auto& f : part.faces)
        to.faces.push_back({f[0] + to.vertexCount, f[1] + to.vertexCount, f[2] + to.vertexCount});
    to.vertexCount += part.vertexCount;
}

// A closed surface of the given genus: a thick square plate pierced by that
// many square holes (top and bottom grids joined by walls along every rim).

inline TestMesh genusMesh(int genus)
{
    const int perRow = 5;
    const int rows = (genus + perRow - 1) / perRow;
    const int w = 3 * perRow + 3, h = 3 * rows + 3; // vertices per side
    std::vector<bool> hole(static_cast<size_t>((w - 1) * (h - 1)), false);
    for (int g = 0; g < genus; ++g)
        hole[static_cast<size_t>((2 + 3 * (g / perRow)) * (w - 1) + 2 + 3 * (g % perRow))] = true;
    TestMesh m;
    const int layer = w * h;
    m.vertexCount = 2 * layer;
    std::map<std::pair<int, int>, int> sideUse;
    std::vector<std::array<int, 3>> top;
    for (int j = 0; j < h - 1; ++j)
        for (int i = 0; i < w - 1; ++i) {
            if (hole[static_cast<size_t>(j * (w - 1) + i)])
                continue;
            const int a = j * w + i, b = a + 1, c = a + w, d = c + 1;
            top.push_back({a, b, d});
            top.push_back({a, d, c});
        }
    for (const auto& f : top) {
        m.faces.push_back(f);
        m.faces.push_back({f[0] + layer, f[2] + layer, f[1] + layer});
        for (int k = 0; k < 3; ++k)
            ++sideUse[{f[k], f[(k + 1) % 3]}];
    }
    // Each rim side (used in one direction only) gets a wall of two triangles.
    for (const auto& [side, uses] : sideUse) {
        const auto [u, v] = side;
        if (sideUse.count({v, u}))
            continue;
        m.faces.push_back({v, u, u + layer});
        m.faces.push_back({v, u + layer, v + layer});
    }
    return m;
}

// Options of a random mesh.
struct RandomMeshOptions {
    bool degenerate = false; // some triangles repeat a corner
    bool pinchParts = true;  // parts may share one vertex
};

// A random edge-manifold mesh: one to three parts (grids, tori, rings, fans, bow ties),
// triangles removed at random (holes of equal and unequal length, pinched
// rim vertices), parts sometimes pinched together at one vertex, unused
// vertices, shuffled vertex numbers, triangle order and corner rotation.
inline TestMesh randomMesh(std::mt19937& rng, const RandomMeshOptions& options = {})
{
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    TestMesh mesh;
    const int parts = pick(1, 3);
    std::vector<int> partStart;
    for (int p = 0; p < parts; ++p) {
        TestMesh part;
        switch (pick(0, 5)) {
        case 0:
            part = gridMesh(pick(2, 8), pick(2, 8));
            break;
        case 1:
            part = gridMesh(pick(3, 7), pick(3, 7), true, true);
            break;
        case 2:
            part = gridMesh(pick(3, 8), pick(2, 5), true, false);
            break;
        case 3:
            part = annulusMesh(pick(3, 9), pick(3, 9));
            break;
        case 4:
            part = fanMesh(pick(3, 90), pick(0, 1) == 1);
            break;
        default: {
            // Separate triangles around one vertex (a bow tie of many loops).
            const int blades = pick(1, 60);
            part.vertexCount = 1 + 2 * blades;
            for (int b = 0; b < blades; ++b)
                part.faces.push_back({0, 1 + 2 * b, 2 + 2 * b});
        }
        }
        const double removal = std::uniform_real_distribution<double>(0.0, 0.45)(rng);
        TestMesh kept{part.vertexCount, {}};
        for (const auto& f : part.faces)
            if (std::uniform_real_distribution<double>(0.0, 1.0)(rng) >= removal || part.faces.size() < 3)
                kept.faces.push_back(f);
        if (kept.faces.empty())
            kept.faces.push_back(part.faces[0]);
        partStart.push_back(mesh.vertexCount);
        appendMesh(mesh, kept);
    }
    std::vector<int> rename(static_cast<size_t>(mesh.vertexCount));
    std::iota(rename.begin(), rename.end(), 0);
    // Pinch: one vertex of every other part becomes the first part's vertex.
    if (options.pinchParts && parts > 1 && pick(0, 2) == 0) {
        const int hub = pick(0, partStart[1] - 1);
        for (int p = 1; p < parts; ++p) {
            const int end = p + 1 < parts ? partStart[p + 1] : mesh.vertexCount;
            rename[static_cast<size_t>(pick(partStart[p], end - 1))] = hub;
        }
    }
    if (options.degenerate)
        for (auto& f : mesh.faces)
            if (pick(0, 9) == 0)
                f[pick(0, 2)] = f[pick(0, 2)];
    // Shuffle the numbering and leave some numbers unused.
    const int unused = pick(0, 4);
    std::vector<int> numbers(static_cast<size_t>(mesh.vertexCount + unused));
    std::iota(numbers.begin(), numbers.end(), 0);
    std::shuffle(numbers.begin(), numbers.end(), rng);
    for (auto& f : mesh.faces)
        for (int& c : f)
            c = numbers[static_cast<size_t>(rename[static_cast<size_t>(c)])];
    mesh.vertexCount += unused;
    std::shuffle(mesh.faces.begin(), mesh.faces.end(), rng);
    for (auto& f : mesh.faces) {
        std::rotate(f.begin(), f.begin() + pick(0, 2), f.end());
        if (pick(0, 3) == 0)
            std::swap(f[1], f[2]);
    }
    return mesh;
}
