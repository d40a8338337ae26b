// Shared by the cutting tests: a fixture starting from a known state, small
// built meshes, a copy of the whole model store, and mesh measurements.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numeric>
#include <vector>

#include "app/main_window.h"
#include "app/cut_modes.h"
#include "model/cutting.h"
#include "app/session.h"
#include "model/topology.h"
#include "tests/support/platform_script.h"
#include "render/layers.h"
#include "render/mouse.h"
#include "render/view_state.h"
#include "tests/support/egl_context.h"
#include "tests/support/mesh_builder.h"

using Vertices = std::vector<std::array<double, 3>>;
using Faces = std::vector<std::array<int, 3>>;

// Every value of the model store, to compare or to put back.
struct StoreCopy {
    int vertexCount, faceCount, edgeCount, boundaryEdgeCount, boundaryLoopLength;
    std::vector<double> x, y, z;
    std::vector<int> fa, fb, fc, ea, eb, e1, e2;
    bool topologyBuilt;

    static StoreCopy take()
    {
        const Mesh& m = currentModel;
        return {m.vertexCount, m.faceCount, m.edgeCount, m.boundaryEdgeCount, m.boundaryLoopLength,
                m.vertexX,     m.vertexY,   m.vertexZ,   m.faceA,           m.faceB,
                m.faceC,       m.edgeA,     m.edgeB,     m.edgeFace1,       m.edgeFace2,
                m.topologyBuilt};
    }
    void putBack() const
    {
        Mesh& m = currentModel;
        m.vertexCount = vertexCount;
        m.faceCount = faceCount;
        m.edgeCount = edgeCount;
        m.boundaryEdgeCount = boundaryEdgeCount;
        m.boundaryLoopLength = boundaryLoopLength;
        m.vertexX = x;
        m.vertexY = y;
        m.vertexZ = z;
        m.faceA = fa;
        m.faceB = fb;
        m.faceC = fc;
        m.edgeA = ea;
        m.edgeB = eb;
        m.edgeFace1 = e1;
        m.edgeFace2 = e2;
        m.topologyBuilt = topologyBuilt;
        touchMesh(m);
    }
};

// The mesh in use (counts, coordinates and corners in use, edge table in use) is the same.
inline ::testing::AssertionResult sameMesh(const StoreCopy& a, const StoreCopy& b)
{
    if (a.vertexCount != b.vertexCount || a.faceCount != b.faceCount || a.edgeCount != b.edgeCount ||
        a.boundaryEdgeCount != b.boundaryEdgeCount || a.boundaryLoopLength != b.boundaryLoopLength)
        return ::testing::AssertionFailure()
               << "counts differ: V " << a.vertexCount << "/" << b.vertexCount << " F " << a.faceCount << "/"
               << b.faceCount << " E " << a.edgeCount << "/" << b.edgeCount << " B " << a.boundaryEdgeCount
               << "/" << b.boundaryEdgeCount << " L " << a.boundaryLoopLength << "/" << b.boundaryLoopLength;
    for (int i = 0; i < a.vertexCount; ++i)
        if (a.x[i] != b.x[i] || a.y[i] != b.y[i] || a.z[i] != b.z[i])
            return ::testing::AssertionFailure() << "vertex " << i << " differs";
    for (int i = 0; i < a.faceCount; ++i)
        if (a.fa[i] != b.fa[i] || a.fb[i] != b.fb[i] || a.fc[i] != b.fc[i])
            return ::testing::AssertionFailure() << "face " << i << " differs";
    for (int i = 0; i < a.edgeCount; ++i)
        if (a.ea[i] != b.ea[i] || a.eb[i] != b.eb[i] || a.e1[i] != b.e1[i] || a.e2[i] != b.e2[i])
            return ::testing::AssertionFailure() << "edge " << i << " differs";
    return ::testing::AssertionSuccess();
}

// Sets the mesh and builds its topology.
inline void buildMesh(const Vertices& v, const Faces& f)
{
    setMesh(v, f);
    buildTopology(currentModel);
}

// A closed double pyramid: apexes 0 (top) and 1 (bottom) over a ring 2 .. ring+1.
inline void buildBipyramid(int ring)
{
    Vertices v = {{0, 0, 1}, {0, 0, -1}};
    Faces f;
    for (int i = 0; i < ring; ++i) {
        double a = 2 * M_PI * i / ring;
        v.push_back({std::cos(a), std::sin(a), 0});
    }
    for (int i = 0; i < ring; ++i) {
        int r = 2 + i, s = 2 + (i + 1) % ring;
        f.push_back({0, r, s});
        f.push_back({1, s, r});
    }
    buildMesh(v, f);
}

// A closed torus of n x m cells, two triangles each (every vertex has six).
inline void torusMesh(int n, int m, Vertices& v, Faces& f)
{
    v.clear();
    f.clear();
    for (int j = 0; j < m; ++j)
        for (int i = 0; i < n; ++i) {
            double a = 2 * M_PI * i / n, b = 2 * M_PI * j / m;
            v.push_back({(2 + std::cos(b)) * std::cos(a), (2 + std::cos(b)) * std::sin(a), std::sin(b)});
        }
    for (int j = 0; j < m; ++j)
        for (int i = 0; i < n; ++i) {
            int a = j * n + i, b = j * n + (i + 1) % n, c = ((j + 1) % m) * n + i,
                d = ((j + 1) % m) * n + (i + 1) % n;
            f.push_back({a, b, d});
            f.push_back({a, d, c});
        }
}

// A strip of cells in one row: vertices 0 .. cells on the bottom, cells+1 .. on the top.
inline void buildStrip(int cells)
{
    Vertices v;
    Faces f;
    for (int i = 0; i <= cells; ++i)
        v.push_back({double(i), 0, 0});
    for (int i = 0; i <= cells; ++i)
        v.push_back({double(i), 1, 0});
    int top = cells + 1;
    for (int i = 0; i < cells; ++i) {
        f.push_back({i, i + 1, top + i + 1});
        f.push_back({i, top + i + 1, top + i});
    }
    buildMesh(v, f);
}

// Number of pieces of the mesh (triangles joined by a shared vertex).
inline int pieceCount()
{
    std::vector<int> parent(currentModel.vertexCount);
    std::iota(parent.begin(), parent.end(), 0);
    auto find = [&](int x) {
        while (parent[x] != x)
            x = parent[x] = parent[parent[x]];
        return x;
    };
    for (int f = 0; f < currentModel.faceCount; ++f) {
        parent[find(currentModel.faceB[f])] = find(currentModel.faceA[f]);
        parent[find(currentModel.faceC[f])] = find(currentModel.faceA[f]);
    }
    int pieces = 0;
    for (int i = 0; i < currentModel.vertexCount; ++i)
        pieces += find(i) == i;
    return pieces;
}

// Every test starts from program start, with a current context for the border flash.
class CutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        scriptReset();
        interaction.picked.element = -1;
        ASSERT_TRUE(makeOffscreenContext(64, 64));
    }
};
