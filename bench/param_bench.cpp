// Parameterization speed beside a plain sparse LU solve (UMFPACK) of the same
// system, on generated discs (a flat square grid, a sphere with its cap
// removed, a jittered height field with random diagonals, the same grid flat) and on the models
// under data/ refined by Loop steps. For each mesh: the whole parameterize(currentModel)
// call, the solve of both systems alone, the LU solve of both systems from
// one factorization, their ratio (LU time over solve time), the largest
// difference between the two solutions, the path, the larger relative
// residual and the preconditioned iterations of the slower system. "cpu s"
// is the processor time of the solve, both threads added (wall times suffer
// from other programs' load).
//
// Usage: param_bench [--quick] [--no-lu] [name filter]
//   --quick  only the meshes below 200k unknowns
//   --no-lu  leave out the LU reference (its column shows "-")
#include "app/main_window.h"
#include "app/model_commands.h"
#include "bench/support/mesh_generators.h"
#include "model/off_file.h"
#include "app/session.h"
#include "model/subdivision.h"
#include "model/topology.h"
#include "param/lu_solve.h"
#include "param/parameter_solve.h"
#include "param/parameterize.h"
#include "param/parameterize_internal.h"
#include "param/row_matrix.h"
#include "tests/support/platform_script.h"
#include "render/view_state.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {
// How the last solve went, as the solver reports it.
SolveReport lastSolve;

// Processor time of the whole process (every thread), in seconds: under
// load from other programs it tells what the work itself costs.
double processorSeconds()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double seconds(std::chrono::steady_clock::time_point from)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// A data model refined by Loop steps, copied out of the store.
GeneratedMesh refinedModel(const char* file, int steps)
{
    resetProgramState();
    scriptReset();
    loadModelFile(std::string(SOURCE_DIR) + "/data/" + file);
    for (int s = 0; s < steps; ++s)
        refineLoopStep(currentModel);
    GeneratedMesh m;
    m.x = currentModel.vertexX;
    m.y = currentModel.vertexY;
    m.z = currentModel.vertexZ;
    m.a = currentModel.faceA;
    m.b = currentModel.faceB;
    m.c = currentModel.faceC;
    return m;
}

struct Case {
    const char* name;
    int approximateUnknowns;
    std::function<GeneratedMesh()> make;
};

// The store holds the mesh with its topology built, nothing parameterized.
void prepare(const GeneratedMesh& mesh)
{
    resetProgramState();
    scriptReset();
    putMeshInStore(mesh);
    buildTopology(currentModel);
}

const char* pathName(ParameterSolvePath path)
{
    switch (path) {
    case solvedByGmres:
        return "gmres";
    case solvedByPreconditionedKrylov:
        return "amg-krylov";
    case solvedByFactorization:
        return "lu";
    case solveFailed:
        return "failed";
    }
    return "?";
}

void run(const Case& c, bool withLu)
{
    GeneratedMesh mesh = c.make();

    // The whole call, as the menu runs it on a mesh whose topology is built.
    prepare(mesh);
    auto start = std::chrono::steady_clock::now();
    parameterize(currentModel, &lastSolve);
    double whole = seconds(start);
    bool done = currentModel.uvComputed;

    // The system alone, solved by the parameterization's solver and by LU.
    prepare(mesh);
    allocDoubleArray(currentModel.vertexU, currentModel.vertexCount);
    allocDoubleArray(currentModel.vertexV, currentModel.vertexCount);
    placeLoopOnCircle(currentModel);
    BigArray<int> unknownIndex;
    int n = numberUnknowns(currentModel, unknownIndex);
    TripletMatrix matrix;
    BigArray<double> rhsU, rhsV;
    if (!assembleParameterSystem(currentModel, unknownIndex, n, matrix, rhsU, rhsV) || n < 2) {
        std::printf("%-26s  assembly refused\n", c.name);
        return;
    }
    BigArray<double> xU(n), xV(n);
    start = std::chrono::steady_clock::now();
    double processorStart = processorSeconds();
    bool solved = solveParameterSystems(matrix, n, rhsU.data(), rhsV.data(), xU.data(), xV.data(), &lastSolve);
    double solve = seconds(start);
    double solveProcessor = processorSeconds() - processorStart;
    ParameterSolvePath path = lastSolve.path;
    double residual = std::max(lastSolve.relativeResidual[0], lastSolve.relativeResidual[1]);

    double lu = 0.0, difference = 0.0;
    bool luSolved = false;
    if (withLu) {
        BigArray<double> yU(n, 0.0), yV(n, 0.0);
        const double* rhs[2] = {rhsU.data(), rhsV.data()};
        double* y[2] = {yU.data(), yV.data()};
        start = std::chrono::steady_clock::now();
        RowMatrix A;
        buildRowMatrix(n, matrix.count, matrix.rows.data(), matrix.cols.data(), matrix.values.data(), A);
        luSolved = solveByFactorization(n, A, 2, rhs, y, 1e-9);
        lu = seconds(start);
        for (int i = 0; i < n; ++i)
            difference = std::max({difference, std::fabs(xU[i] - yU[i]), std::fabs(xV[i] - yV[i])});
    }
    std::printf("%-26s %8d %9.3f %9.3f %7.3f %7.2f", c.name, n, whole, solve, solveProcessor, 1e6 * whole / n);
    if (withLu)
        std::printf(" %9.3f %7.1f %9.1e", lu, lu / solve, difference);
    else
        std::printf(" %9s %7s %9s", "-", "-", "-");
    std::printf("  %-10s %8.1e %4d%s%s%s\n", pathName(path), residual, std::max(lastSolve.iterationCount[0], lastSolve.iterationCount[1]), done ? "" : "  PARAMETERIZE FAILED",
                solved ? "" : "  SOLVE FAILED", withLu && !luSolved ? "  LU FAILED" : "");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    bool quick = false, withLu = true;
    const char* filter = nullptr;
    for (int a = 1; a < argc; ++a) {
        if (std::strcmp(argv[a], "--quick") == 0)
            quick = true;
        else if (std::strcmp(argv[a], "--no-lu") == 0)
            withLu = false;
        else
            filter = argv[a];
    }
    const std::vector<Case> cases = {
        {"square grid 10k", 10000, [] { return squareGridMesh(20000); }},
        {"square grid 100k", 100000, [] { return squareGridMesh(200000); }},
        {"capped sphere 100k", 100000, [] { return cappedSphereMesh(200000); }},
        {"height field 320x320", 100000, [] { return jitteredHeightFieldMesh(320, 7); }},
        {"flat jittered 320x320", 100000, [] { return jitteredHeightFieldMesh(320, 7, true); }},
        {"calotte loop x4", 120000, [] { return refinedModel("calotte.off", 4); }},
        {"deux_trous loop x4", 120000, [] { return refinedModel("deux_trous.off", 4); }},
        {"calotte loop x5", 490000, [] { return refinedModel("calotte.off", 5); }},
        {"deux_trous loop x5", 490000, [] { return refinedModel("deux_trous.off", 5); }},
        {"square grid 1M", 1000000, [] { return squareGridMesh(2000000); }},
        {"capped sphere 1M", 1000000, [] { return cappedSphereMesh(2000000); }},
        {"height field 1000x1000", 996000, [] { return jitteredHeightFieldMesh(1000, 11); }},
        {"flat jittered 1000x1000", 996000, [] { return jitteredHeightFieldMesh(1000, 11, true); }},
    };
    std::printf("%-26s %8s %9s %9s %7s %7s %9s %7s %9s  %-10s %8s %4s\n", "mesh", "unknowns", "param s", "solve s", "cpu s",
                "us/unk", "LU s", "LU/sol", "max diff", "path", "residual", "its");
    for (const Case& c : cases) {
        if (quick && c.approximateUnknowns > 200000)
            continue;
        if (filter && !std::strstr(c.name, filter))
            continue;
        run(c, withLu);
    }
    currentModel = Mesh();
    return 0;
}
