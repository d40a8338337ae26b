// Fan walks: turning around a vertex from triangle to triangle through the
// edge table built before a cut. Instead of scanning the whole edge table at
// every step, each triangle's edge positions are listed once per cut; the
// list is in increasing position order, so the first match is the same edge a
// full scan finds first.
#include "model/cutting_internal.h"
#include "model/store.h"

namespace {
// Start of each triangle's list in fanEdges (faceCount + 1 entries).
std::vector<int> fanStart;
// Edge positions grouped by triangle, each group in increasing order.
std::vector<int> fanEdges;
// Fill position of each group while the lists are built.
std::vector<int> fanFill;
// Number of triangles the lists were built for.
int fanFaceCount = 0;

bool hasFace(int i, int t) { return edgeFace1[i] == t || edgeFace2[i] == t; }
} // namespace

void buildFanIndex()
{
    fanFaceCount = faceCount;
    fanStart.assign(static_cast<size_t>(faceCount) + 1, 0);
    int n = edgeCount;
    if (n > static_cast<int>(edgeA.size()))
        n = static_cast<int>(edgeA.size());
    for (int i = 0; i < n; ++i) {
        int f1 = edgeFace1[i], f2 = edgeFace2[i];
        if (f1 >= 0 && f1 < faceCount)
            ++fanStart[f1 + 1];
        if (f2 >= 0 && f2 < faceCount && f2 != f1)
            ++fanStart[f2 + 1];
    }
    for (int t = 0; t < faceCount; ++t)
        fanStart[t + 1] += fanStart[t];
    fanEdges.resize(static_cast<size_t>(fanStart[faceCount]));
    fanFill.assign(fanStart.begin(), fanStart.end() - 1);
    for (int i = 0; i < n; ++i) {
        int f1 = edgeFace1[i], f2 = edgeFace2[i];
        if (f1 >= 0 && f1 < faceCount)
            fanEdges[fanFill[f1]++] = i;
        if (f2 >= 0 && f2 < faceCount && f2 != f1)
            fanEdges[fanFill[f2]++] = i;
    }
}

int fanNextEdge(int t, int current, int excluded, int m1, int m2)
{
    if (t < 0 || t >= fanFaceCount)
        return -1;
    for (int k = fanStart[t]; k < fanStart[t + 1]; ++k) {
        int i = fanEdges[k];
        if (i == current || i == excluded || !hasFace(i, t))
            continue;
        if (edgeA[i] == m1 || edgeB[i] == m1 || (m2 >= 0 && (edgeA[i] == m2 || edgeB[i] == m2)))
            return i;
    }
    return -1;
}

bool walkFan(const FanWalk& walk, std::vector<int>& triangles, int& firstEdge, FanNextFn next)
{
    firstEdge = -1;
    if (walk.start < 0 || walk.start >= edgeCount)
        return false;
    // The walk's state is its edge and side; a walk that takes more steps
    // than there are states goes round in circles and never ends.
    long long maxSteps = 2LL * edgeCount + 2;
    int current = walk.start;
    bool secondSide = true;
    for (long long step = 0; step < maxSteps; ++step) {
        int t = secondSide ? edgeFace2[current] : edgeFace1[current];
        if (t < 0 || t >= faceCount)
            return false;
        triangles.push_back(t);
        int i = next(t, current, walk.excluded, walk.moved1, walk.moved2);
        if (i < 0 || i >= edgeCount)
            return false;
        if (firstEdge < 0)
            firstEdge = i;
        current = i;
        secondSide = edgeFace2[i] != t;
        if (walk.stopEdge >= 0 ? i == walk.stopEdge : edgeFace2[i] == -1)
            return true;
    }
    return false;
}
