// Helpers of the parameterization tests: random sparse systems and the
// known start state.
#pragma once

#include "app/main_window.h"
#include "app/session.h"
#include "tests/support/platform_script.h"
#include "render/view_state.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

// A square system in triplet layout.
struct TripletSystem {
    int n = 0;
    std::vector<int> rows, cols;
    std::vector<double> values;
    int count() const { return static_cast<int>(rows.size()); }
    void add(int r, int c, double v)
    {
        rows.push_back(r);
        cols.push_back(c);
        values.push_back(v);
    }
};

// A random non-symmetric sparse system: each row has its diagonal and up to
// `perRow` off-diagonal entries; `dominance` scales the diagonal against the
// row's other entries (above 1: strictly diagonally dominant).
inline TripletSystem randomSystem(int n, int perRow, double dominance, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    std::uniform_int_distribution<int> column(0, n - 1);
    TripletSystem s;
    s.n = n;
    for (int r = 0; r < n; ++r) {
        double sum = 0.0;
        std::vector<int> used{r};
        for (int k = 0; k < perRow; ++k) {
            int c = column(random);
            bool seen = false;
            for (int u : used)
                seen = seen || u == c;
            if (seen)
                continue;
            used.push_back(c);
            double v = value(random);
            sum += std::abs(v);
            s.add(r, c, v);
        }
        s.add(r, r, dominance * (sum + 0.1) * (value(random) < 0 ? -1.0 : 1.0));
    }
    return s;
}

inline std::vector<double> randomVector(int n, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    std::vector<double> v(n);
    for (double& e : v)
        e = value(random);
    return v;
}

// The known state every parameterization test starts from.
inline void resetAll()
{
    resetProgramState();
    scriptReset();
}
