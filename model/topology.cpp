// The topology builder: edge table in first-appearance order, boundary edges
// moved to the front, unused vertices dropped. The boundary loops are ordered
// in topology_loops.cpp.
//
// Edges are looked up through one chain per vertex (the edges whose smaller
// end is that vertex), which gives exactly the position a scan of the table
// from its start would give, in time proportional to the mesh. A vertex
// whose chain grows long (the centre of a large fan) moves its edges to a
// hash table, so that no lookup walks a long chain.
#include "model/topology.h"

#include <climits>
#include <stdexcept>
#include <algorithm>
#include <cstdint>
#include <new>

#include "model/mesh.h"
#include "model/huge_pages.h"
#include "model/topology_internal.h"

// ---- Working arrays
//
// Large blocks are asked to be backed by huge pages where the system offers
// them: a mesh of a million triangles needs tens of megabytes of edge arrays,
// and touching them page by page costs more than building the table.

namespace {

// Gives the array a block of at least n entries without touching it yet.
template <typename T> bool reserveBlock(std::vector<T>& array, size_t n, bool keep)
{
    if (array.capacity() >= n)
        return true;
    try {
        std::vector<T> fresh;
        fresh.reserve(n);
        adviseHugePages(fresh.data(), n * sizeof(T));
        if (keep)
            fresh.assign(array.begin(), array.end());
        array.swap(fresh);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

} // namespace

bool fillIntArray(std::vector<int>& array, size_t n, int value, size_t room)
{
    if (room <= n || !reserveBlock(array, room, false))
        if (!reserveBlock(array, n, false))
            return false;
    array.assign(n, value);
    return true;
}

bool fillByteArray(std::vector<unsigned char>& array, size_t n, unsigned char value)
{
    if (!reserveBlock(array, n, false))
        return false;
    array.assign(n, value);
    return true;
}

bool lengthenIntArray(std::vector<int>& array, size_t n, int value)
{
    if (n <= array.size())
        return true;
    if (!reserveBlock(array, n, true))
        return false;
    array.resize(n, value);
    return true;
}

// ---- The edge table

namespace {

// Per vertex: first edge of its chain, -1 for none; reused as scratch by the loop search.
std::vector<int> chainHead;
// Per edge position: next edge of the same chain, -1 at the end.
std::vector<int> chainNext;
// Chain length from which a vertex's edges move to the hash table.
constexpr int longChain = 32;
// Marks a vertex whose edges are in the hash table, in chainHead.
constexpr int inHashTable = -2;
constexpr uint64_t emptyKey = ~uint64_t(0);
// Open-addressing table of (smaller end << 32 | larger end) -> edge position.
std::vector<uint64_t> hashKeys;
std::vector<int> hashEdges;
size_t hashUsed = 0;

inline uint64_t sideKey(int lo, int hi)
{
    return (static_cast<uint64_t>(static_cast<uint32_t>(lo)) << 32) | static_cast<uint32_t>(hi);
}

inline size_t hashSlot(uint64_t key, size_t mask)
{
    key ^= key >> 29;
    key *= 0xbf58476d1ce4e5b9ULL;
    key ^= key >> 32;
    return static_cast<size_t>(key) & mask;
}

int hashFind(int lo, int hi)
{
    const uint64_t key = sideKey(lo, hi);
    const size_t mask = hashKeys.size() - 1;
    for (size_t i = hashSlot(key, mask);; i = (i + 1) & mask) {
        if (hashKeys[i] == key)
            return hashEdges[i];
        if (hashKeys[i] == emptyKey)
            return -1;
    }
}

void hashInsert(int lo, int hi, int edge)
{
    if (2 * (hashUsed + 1) > hashKeys.size()) {
        std::vector<uint64_t> oldKeys;
        std::vector<int> oldEdges;
        oldKeys.swap(hashKeys);
        oldEdges.swap(hashEdges);
        const size_t size = oldKeys.empty() ? 1024 : 2 * oldKeys.size();
        if (!fillIntArray(hashEdges, size, -1))
            refuseTopology(outcomeEdgeMemory);
        hashKeys.assign(size, emptyKey);
        hashUsed = 0;
        for (size_t i = 0; i < oldKeys.size(); ++i)
            if (oldKeys[i] != emptyKey)
                hashInsert(static_cast<int>(oldKeys[i] >> 32), static_cast<int>(static_cast<uint32_t>(oldKeys[i])),
                           oldEdges[i]);
    }
    const uint64_t key = sideKey(lo, hi);
    const size_t mask = hashKeys.size() - 1;
    size_t i = hashSlot(key, mask);
    while (hashKeys[i] != emptyKey)
        i = (i + 1) & mask;
    hashKeys[i] = key;
    hashEdges[i] = edge;
    ++hashUsed;
}

// Moves the chain of vertex lo into the hash table.
void moveChainToHash(Mesh& mesh, int lo)
{
    for (int e = chainHead[lo]; e >= 0; e = chainNext[e])
        hashInsert(lo, mesh.edgeB[e], e);
    chainHead[lo] = inHashTable;
}

// Per vertex: 1 when a triangle uses it.
std::vector<unsigned char> vertexUsed;
// Per vertex: its index once the unused vertices are dropped.
std::vector<int> vertexNewIndex;

// The most edges the triangles can have: three each.
size_t mostEdges(const Mesh& mesh) { return mesh.faceCount > 0 ? 3 * static_cast<size_t>(mesh.faceCount) : 0; }

// Checks every corner and drops the vertices no triangle uses, renumbering the corners.
void dropUnusedVertices(Mesh& mesh)
{
    const int vertices = mesh.vertexCount;
    const int faces = mesh.faceCount;
    if (faces < 0 || static_cast<size_t>(faces) > mesh.faceA.size() || static_cast<size_t>(faces) > mesh.faceB.size() ||
        static_cast<size_t>(faces) > mesh.faceC.size() || vertices < 0 || static_cast<size_t>(vertices) > mesh.vertexX.size() ||
        static_cast<size_t>(vertices) > mesh.vertexY.size() || static_cast<size_t>(vertices) > mesh.vertexZ.size())
        refuseTopology(outcomeFaceError);
    if (!fillByteArray(vertexUsed, static_cast<size_t>(vertices), 0))
        refuseTopology(outcomeEdgeMemory);
    const unsigned limit = static_cast<unsigned>(vertices);
    int* fa = mesh.faceA.data();
    int* fb = mesh.faceB.data();
    int* fc = mesh.faceC.data();
    unsigned char* used = vertexUsed.data();
    for (int i = 0; i < faces; ++i) {
        const int a = fa[i], b = fb[i], c = fc[i];
        if (static_cast<unsigned>(a) >= limit || static_cast<unsigned>(b) >= limit || static_cast<unsigned>(c) >= limit)
            refuseTopology(outcomeFaceError);
        used[a] = 1;
        used[b] = 1;
        used[c] = 1;
    }
    int first = 0;
    while (first < vertices && used[first])
        ++first;
    if (first == vertices)
        return;
    if (!fillIntArray(vertexNewIndex, static_cast<size_t>(vertices), -1))
        refuseTopology(outcomeEdgeMemory);
    int* newIndex = vertexNewIndex.data();
    int kept = 0;
    for (int v = 0; v < vertices; ++v) {
        if (!used[v])
            continue;
        newIndex[v] = kept;
        mesh.vertexX[kept] = mesh.vertexX[v];
        mesh.vertexY[kept] = mesh.vertexY[v];
        mesh.vertexZ[kept] = mesh.vertexZ[v];
        ++kept;
    }
    for (int i = 0; i < faces; ++i) {
        fa[i] = newIndex[fa[i]];
        fb[i] = newIndex[fb[i]];
        fc[i] = newIndex[fc[i]];
    }
    mesh.vertexCount = kept;
}

// The edge arrays and the chain links grow together when a mesh needs more
// edges than the first capacity (high genus, many holes); room for three
// edges per triangle was set aside, so this rarely copies.
void growEdgeArrays(Mesh& mesh, int edgesSoFar)
{
    const long long most = 3LL * mesh.faceCount;
    long long wanted = mesh.edgeCapacity + mesh.edgeCapacity / 8LL + 3;
    if (wanted < edgesSoFar + 3LL)
        wanted = edgesSoFar + 3LL;
    if (wanted > most)
        wanted = most;
    if (wanted > INT_MAX || wanted < edgesSoFar + 3LL)
        refuseTopology(outcomeEdgeMemory);
    size_t n = static_cast<size_t>(wanted);
    if (!lengthenIntArray(mesh.edgeA, n, 0) || !lengthenIntArray(mesh.edgeB, n, 0) || !lengthenIntArray(mesh.edgeFace1, n, 0) ||
        !lengthenIntArray(mesh.edgeFace2, n, -1) || !lengthenIntArray(chainNext, n, -1))
        refuseTopology(outcomeEdgeMemory);
    mesh.edgeCapacity = static_cast<int>(wanted);
}

// Builds the table in first-appearance order: triangle by triangle, sides
// A-B, B-C, C-A, each edge with the first triangle and the second one.
void collectEdges(Mesh& mesh)
{
    const int faces = mesh.faceCount;
    if (!fillIntArray(chainHead, static_cast<size_t>(mesh.vertexCount), -1) ||
        !fillIntArray(chainNext, static_cast<size_t>(mesh.edgeCapacity), -1, mostEdges(mesh)))
        refuseTopology(outcomeEdgeMemory);
    const int* fa = mesh.faceA.data();
    const int* fb = mesh.faceB.data();
    const int* fc = mesh.faceC.data();
    int* head = chainHead.data();
    int* next = chainNext.data();
    int* ea = mesh.edgeA.data();
    int* eb = mesh.edgeB.data();
    int* f1 = mesh.edgeFace1.data();
    int* f2 = mesh.edgeFace2.data();
    int count = 0;

    // The first triangle's sides are stored as they come; a side that repeats
    // an earlier one (a triangle with a repeated corner) stays out of the
    // chains, so a lookup still finds the earlier position.
    // The hash table of the last build keeps its room: emptied, not freed.
    if (hashUsed > 0)
        std::fill(hashKeys.begin(), hashKeys.end(), emptyKey);
    hashUsed = 0;
    const int seed[3][2] = {{fa[0], fb[0]}, {fb[0], fc[0]}, {fc[0], fa[0]}};
    for (const auto& side : seed) {
        const int lo = side[0] < side[1] ? side[0] : side[1];
        const int hi = side[0] < side[1] ? side[1] : side[0];
        bool known = false;
        for (int e = head[lo]; e >= 0; e = next[e])
            known = known || eb[e] == hi;
        ea[count] = lo;
        eb[count] = hi;
        f1[count] = 0;
        if (!known) {
            next[count] = head[lo];
            head[lo] = count;
        }
        ++count;
    }

    for (int j = 1; j < faces; ++j) {
        if (count + 3 > mesh.edgeCapacity) {
            growEdgeArrays(mesh, count);
            next = chainNext.data();
            ea = mesh.edgeA.data();
            eb = mesh.edgeB.data();
            f1 = mesh.edgeFace1.data();
            f2 = mesh.edgeFace2.data();
        }
        const int corners[3] = {fa[j], fb[j], fc[j]};
        for (int k = 0; k < 3; ++k) {
            const int u = corners[k], v = corners[k == 2 ? 0 : k + 1];
            const int lo = u < v ? u : v;
            const int hi = u < v ? v : u;
            int e = head[lo];
            int steps = 0;
            if (e == inHashTable) {
                e = hashFind(lo, hi);
            } else {
                while (e >= 0 && eb[e] != hi) {
                    e = next[e];
                    ++steps;
                }
            }
            if (e >= 0) {
                if (f2[e] >= 0)
                    refuseTopology(outcomeEdgeError);
                f2[e] = j;
                continue;
            }
            ea[count] = lo;
            eb[count] = hi;
            f1[count] = j;
            if (steps >= longChain)
                moveChainToHash(mesh, lo);
            if (head[lo] == inHashTable) {
                hashInsert(lo, hi, count);
            } else {
                next[count] = head[lo];
                head[lo] = count;
            }
            ++count;
        }
    }
    mesh.edgeCount = count;
}

// Moves the boundary edges to the front, keeping their relative order; an
// interior edge that stood in the way takes the place the boundary edge left.
void boundaryEdgesFirst(Mesh& mesh)
{
    const int* f2 = mesh.edgeFace2.data();
    int boundary = 0;
    for (int e = 0; e < mesh.edgeCount; ++e)
        boundary += f2[e] == -1;
    mesh.boundaryEdgeCount = boundary;
    int o = 0;
    for (int h = 0; h < boundary; ++h) {
        while (f2[o] != -1)
            ++o;
        if (h != o)
            swapEdges(mesh, h, o);
        ++o;
    }
}

} // namespace

namespace {

void buildEdgeTable(Mesh& mesh)
{
    long long capacity = static_cast<long long>(mesh.vertexCount > 0 ? mesh.vertexCount : 0) +
                         static_cast<long long>(mesh.faceCount > 0 ? mesh.faceCount : 0) + 30;
    if (capacity > INT_MAX)
        refuseTopology(outcomeEdgeMemory);
    mesh.edgeCapacity = static_cast<int>(capacity);
    const size_t n = static_cast<size_t>(capacity);
    const size_t room = mostEdges(mesh);
    if (!fillIntArray(mesh.edgeA, n, 0, room) || !fillIntArray(mesh.edgeB, n, 0, room) || !fillIntArray(mesh.edgeFace1, n, 0, room) ||
        !fillIntArray(mesh.edgeFace2, n, -1, room))
        refuseTopology(outcomeEdgeMemory);

    dropUnusedVertices(mesh);

    mesh.edgeCount = 0;
    mesh.boundaryEdgeCount = 0;
    mesh.boundaryLoopLength = 0;
    if (mesh.faceCount > 0) {
        collectEdges(mesh);
        // A table that had to grow keeps just the entries the mesh needs.
        const int first = static_cast<int>(capacity);
        if (mesh.edgeCapacity > first && mesh.edgeCapacity > mesh.edgeCount) {
            mesh.edgeCapacity = mesh.edgeCount > first ? mesh.edgeCount : first;
            mesh.edgeA.resize(static_cast<size_t>(mesh.edgeCapacity));
            mesh.edgeB.resize(static_cast<size_t>(mesh.edgeCapacity));
            mesh.edgeFace1.resize(static_cast<size_t>(mesh.edgeCapacity));
            mesh.edgeFace2.resize(static_cast<size_t>(mesh.edgeCapacity));
        }
        boundaryEdgesFirst(mesh);
        if (mesh.boundaryEdgeCount > 0)
            orderBoundaryLoops(mesh, chainHead);
    }
}

} // namespace

Outcome buildTopology(Mesh& mesh)
{
    if (mesh.topologyBuilt)
        return outcomeOk;
    // The build renumbers vertices and fills the edge table: the mesh changes either way.
    touchMesh(mesh);
    try {
        buildEdgeTable(mesh);
    } catch (const TopologyRefusal& refusal) {
        mesh.edgeCount = mesh.boundaryEdgeCount = mesh.boundaryLoopLength = 0;
        return refusal.outcome;
    } catch (const std::bad_alloc&) {
        mesh.edgeCount = mesh.boundaryEdgeCount = mesh.boundaryLoopLength = 0;
        return outcomeEdgeMemory;
    }
    mesh.topologyBuilt = true;
    return outcomeOk;
}

Outcome rebuildTopology(Mesh& mesh)
{
    // The edge arrays keep their blocks: the build that follows reuses them.
    if (mesh.uvComputed) {
        std::vector<double>().swap(mesh.vertexU);
        std::vector<double>().swap(mesh.vertexV);
    }
    mesh.edgeCount = 0;
    mesh.boundaryEdgeCount = 0;
    mesh.boundaryLoopLength = 0;
    mesh.topologyBuilt = false;
    mesh.uvComputed = false;
    return buildTopology(mesh);
}

void swapEdges(Mesh& mesh, int e1, int e2)
{
    swapInts(mesh.edgeA[e1], mesh.edgeA[e2]);
    swapInts(mesh.edgeB[e1], mesh.edgeB[e2]);
    swapInts(mesh.edgeFace1[e1], mesh.edgeFace1[e2]);
    swapInts(mesh.edgeFace2[e1], mesh.edgeFace2[e2]);
}
