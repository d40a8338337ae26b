// Small meshes for the parameterization tests, put straight into the store.
#pragma once

#include "tests/support/mesh_builder.h"

#include <array>
#include <cmath>
#include <random>
#include <vector>

using Points = std::vector<std::array<double, 3>>;
using Triangles = std::vector<std::array<int, 3>>;

// A regular fan: vertex 0 at the centre, `sides` vertices around it.
inline void setFanMesh(int sides)
{
    Points v{{0.0, 0.0, 0.0}};
    Triangles f;
    for (int i = 0; i < sides; ++i) {
        double a = 2.0 * M_PI * i / sides;
        v.push_back({std::cos(a), std::sin(a), 0.0});
        f.push_back({0, 1 + i, 1 + (i + 1) % sides});
    }
    setMesh(v, f);
}

// An n × n grid of cells on the unit square with random shifts of the inner
// vertices (up to `jitter` of a cell), heights up to `height`, and the cells
// listed in `holes` (index j n + i) left out.
inline void setJitteredGrid(int n, double jitter, double height, unsigned seed, const std::vector<int>& holes = {})
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> shift(-jitter / n, jitter / n), lift(0.0, height);
    Points v;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            bool inner = i > 0 && j > 0 && i < n && j < n;
            double dx = inner ? shift(random) : 0.0, dy = inner ? shift(random) : 0.0;
            v.push_back({double(i) / n + dx, double(j) / n + dy, lift(random)});
        }
    Triangles f;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            bool hole = false;
            for (int h : holes)
                hole = hole || h == j * n + i;
            if (hole)
                continue;
            int a = j * (n + 1) + i, b = a + 1, c = a + n + 1, d = c + 1;
            f.push_back({a, b, d});
            f.push_back({a, d, c});
        }
    setMesh(v, f);
}
