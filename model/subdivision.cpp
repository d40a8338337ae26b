// One step of Loop subdivision on a mesh.
//
// The step runs in linear time. The split-edge table is registered once from
// the triangles, keeping for each edge the first two corners opposite it in
// the order a scan of the triangles meets them. Then one loop over the old
// triangles makes the edge vertices in the order it first meets their edges
// and writes the four new triangles, while another sums every vertex ring in
// list order, after which the old vertices move. Everything that can refuse
// the step (a face outside the vertices, counts that would overflow, memory)
// is settled before the mesh is touched.
//
// On a large mesh the independent parts run on two threads: the new face
// arrays are allocated (their first touch is most of their cost) while the
// table is registered, and the rings are summed while the triangles are split.
// Each value is still computed by one thread with the same operations in the
// same order, so the result does not depend on the threads.
#include <climits>
#include <new>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "model/mesh.h"
#include "model/subdivision.h"
#include "model/subdivision_internal.h"

namespace {

// The working blocks of the steps, kept from step to step.
LoopStepWork stepWork;

// Runs a task on a second thread, or at once on this one when the step is
// small or no thread can be had; wait() returns once the task has finished.
class SecondThread {
public:
    explicit SecondThread(bool wanted) : wanted_(wanted) {}
    ~SecondThread() { wait(); }
    template <typename Task> void run(Task task)
    {
        wait();
        if (wanted_) {
            try {
                thread_ = std::thread(task);
                return;
            } catch (const std::system_error&) {
                wanted_ = false;
            }
        }
        task();
    }
    void wait()
    {
        if (thread_.joinable())
            thread_.join();
    }

private:
    bool wanted_;
    std::thread thread_;
};

// The vertex of the side's edge, made now if this is the first time the loop
// meets the edge. A side missing from the table (never, when the table holds
// every side) gets the message from findSplitEdge.
inline int sideVertex(Mesh& mesh, LoopStepWork& work, int v1, int v2)
{
    int entry = lookupSplitEdge(work, v1, v2);
    if (entry < 0)
        entry = findSplitEdge(work, v1, v2);
    if (entry < 0)
        return -1;
    int v = work.splitEdgeVertex[static_cast<std::size_t>(entry)];
    return v >= 0 ? v : makeEdgeVertex(mesh, work, entry);
}

// The loop over the old triangles: for triangle t with corners (A, B, C) the
// edge vertices d (side B-C), f (C-A), h (A-B), made from V on in the order
// first met; then the middle triangle (d, f, h) at t and the corner triangles
// (A, h, f), (B, d, h), (C, f, d) at F + 3t, F + 3t + 1, F + 3t + 2.
void splitTriangles(Mesh& mesh, LoopStepWork& work, const std::vector<int>& oldA, const std::vector<int>& oldB, const std::vector<int>& oldC, int F)
{
    int* newA = mesh.faceA.data();
    int* newB = mesh.faceB.data();
    int* newC = mesh.faceC.data();
    for (std::size_t t = 0; t < static_cast<std::size_t>(F); ++t) {
        int a = oldA[t], b = oldB[t], c = oldC[t];
        int d = sideVertex(mesh, work, b, c);
        int f = sideVertex(mesh, work, c, a);
        int h = sideVertex(mesh, work, a, b);
        std::size_t k = static_cast<std::size_t>(F) + 3 * t;
        newA[k] = a, newB[k] = h, newC[k] = f;
        newA[k + 1] = b, newB[k + 1] = d, newC[k + 1] = h;
        newA[k + 2] = c, newB[k + 2] = f, newC[k + 2] = d;
        newA[t] = d, newB[t] = f, newC[t] = h;
    }
}

void releaseStepTemporaries(LoopStepWork& work)
{
    emptySplitEdgeTable(work);
    freeBlock(work.oldX);
    freeBlock(work.oldY);
    freeBlock(work.oldZ);
}

// Allocates the arrays, catching only a failed allocation.
template <typename Allocate> bool allocated(Allocate allocate)
{
    try {
        allocate();
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

} // namespace

Outcome refineLoopStep(Mesh& mesh, int threadFaceCount, const Progress* progress)
{
    LoopStepWork& work = stepWork;
    if (!mesh.modelLoaded)
        return outcomeImpossibleModel;
    const int V = mesh.vertexCount, F = mesh.faceCount;
    if (F > INT_MAX / 4)
        return outcomeTooLargeModel;
    if (V < 0 || F < 0 || mesh.vertexX.size() < static_cast<std::size_t>(V) ||
        mesh.vertexY.size() < static_cast<std::size_t>(V) || mesh.vertexZ.size() < static_cast<std::size_t>(V))
        return outcomeImpossibleModel;

    // Everything that may refuse the step comes before the mesh changes.
    // With the topology built, its edge count is the number of entries the
    // split-edge table will hold, so the new vertex arrays are allocated with
    // the faces while the table is registered (checked once it stands).
    const std::size_t newFaceCount = 4 * static_cast<std::size_t>(F);
    const std::size_t expectedVertexCount = static_cast<std::size_t>(V) + static_cast<std::size_t>(mesh.edgeCount);
    const bool expectEdges = mesh.topologyBuilt && mesh.edgeCount >= 0 && mesh.edgeCount <= INT_MAX - V;
    std::vector<int> freshA, freshB, freshC;
    std::vector<double> freshX, freshY, freshZ;
    std::vector<RingSummary>& rings = work.ringSummaries;
    Outcome refusal = outcomeOk;
    tellProgress(progress, 0.0, "subdivision");
    {
        SecondThread second(F >= threadFaceCount);
        bool allocatedAside = false, yzAllocated = false;
        second.run([&] {
            allocatedAside = allocated([&] {
                allocZeroedBlock(freshA, newFaceCount);
                allocZeroedBlock(freshB, newFaceCount);
                allocZeroedBlock(freshC, newFaceCount);
                filledBlock(rings, static_cast<std::size_t>(V), RingSummary{});
                if (expectEdges) {
                    allocZeroedBlock(freshX, expectedVertexCount);
                    allocZeroedBlock(freshY, expectedVertexCount);
                    allocZeroedBlock(freshZ, expectedVertexCount);
                }
            });
        });
        bool registered = false;
        if (!allocated([&] { registered = prepareSplitEdgeTable(mesh, work) && registerTriangleSides(mesh, work); }))
            refusal = outcomeSubdivisionMemory;
        else if (!registered)
            refusal = outcomeImpossibleModel;
        else if (V > INT_MAX - work.splitEdgeCount)
            refusal = outcomeTooLargeModel;
        second.wait();
        if (refusal == outcomeOk && !allocatedAside)
            refusal = outcomeSubdivisionMemory;
        std::size_t newVertexCount = static_cast<std::size_t>(V) + static_cast<std::size_t>(work.splitEdgeCount);
        if (refusal == outcomeOk && (!expectEdges || newVertexCount != expectedVertexCount)) {
            second.run([&] {
                yzAllocated = allocated([&] {
                    allocZeroedBlock(freshY, newVertexCount);
                    allocZeroedBlock(freshZ, newVertexCount);
                });
            });
            bool xAllocated = allocated([&] { allocZeroedBlock(freshX, newVertexCount); });
            second.wait();
            if (!xAllocated || !yzAllocated)
                refusal = outcomeSubdivisionMemory;
        }
    }
    if (refusal != outcomeOk) {
        releaseStepTemporaries(work);
        return refusal;
    }
    work.splitEdgeMissing = false;
    tellProgress(progress, 0.35, "subdivision");

    // The old coordinates and triangles stay aside, read-only, while the new
    // arrays take their place in the mesh.
    work.oldX.swap(mesh.vertexX);
    work.oldY.swap(mesh.vertexY);
    work.oldZ.swap(mesh.vertexZ);
    mesh.vertexX.swap(freshX);
    mesh.vertexY.swap(freshY);
    mesh.vertexZ.swap(freshZ);
    std::vector<int> oldA, oldB, oldC;
    oldA.swap(mesh.faceA);
    oldB.swap(mesh.faceB);
    oldC.swap(mesh.faceC);
    mesh.faceA.swap(freshA);
    mesh.faceB.swap(freshB);
    mesh.faceC.swap(freshC);

    {
        // The rings only read the old mesh and the table and write vertices
        // 0 .. V-1; the split writes the faces and vertices V and on.
        SecondThread second(F >= threadFaceCount);
        second.run([&] {
            sumRings(mesh, work, rings, oldA, oldB, oldC, F);
            moveOldVertices(mesh, work, rings);
        });
        splitTriangles(mesh, work, oldA, oldB, oldC, F);
    }
    tellProgress(progress, 0.85, "subdivision");
    moveReorderedVertices(mesh, work, rings, oldA, oldB, oldC, F);
    mesh.faceCount = 4 * F;

    rings.clear();
    freeBlock(oldA);
    freeBlock(oldB);
    freeBlock(oldC);
    releaseStepTemporaries(work);

    // What was derived from the old mesh no longer holds.
    freeBlock(mesh.edgeA);
    freeBlock(mesh.edgeB);
    freeBlock(mesh.edgeFace1);
    freeBlock(mesh.edgeFace2);
    mesh.topologyBuilt = false;
    freeBlock(mesh.vertexU);
    freeBlock(mesh.vertexV);
    mesh.uvComputed = false;
    touchMesh(mesh);
    tellProgress(progress, 1.0, "subdivision");
    // A side the table did not hold (it holds every side it was registered
    // from, so this means a fault of the step) is reported once the step is done.
    return work.splitEdgeMissing ? outcomeImpossibleModel : outcomeOk;
}
