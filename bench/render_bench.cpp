// Frames per second of the viewer's drawing on a torus, offscreen on Mesa,
// each beside its reference in the same run (frames alternate between the
// two, so a busy machine slows both alike), with the ratio printed:
//
// - Faces: the face layer against a plain glDrawArrays of the same triangles
//   (unlit, in one colour, textured the same, arrays filled once before
//   timing), the most GL can give for them.
// - FacesEdges: the face and edge layers, against the same plain draw.
// - CutHover: a whole frame in a cut mode (the highlight of vertex, edge or
//   face on), against the same plain draw.
// - CutAndUndo: a face cut under the cursor through the application's click,
//   then its undo, each timed (the reference is the plain draw's frame time).
//
// Each frame clears, sets the camera (turning a little every frame, or still
// in the cases marked so), draws and waits for GL to finish.
#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <ctime>
#include <vector>

#include "app/cut_modes.h"
#include "app/session.h"
#include "bench/support/mesh_generators.h"
#include "model/cutting.h"
#include "model/topology.h"
#include "tests/support/platform_script.h"
#include "render/frame.h"
#include "render/gl_setup.h"
#include "render/layers.h"
#include "render/textures.h"
#include "render/view_state.h"
#include "tests/support/egl_context.h"
#include "texture/texture.h"

namespace {
constexpr int viewSize = 640;

bool prepare(int triangles)
{
    static bool started = false;
    if (!started) {
        if (!makeOffscreenContext(viewSize, viewSize))
            return false;
        setBasicGlState();
        initGLForSize(viewSize, viewSize);
        resizeGlView(viewSize, viewSize);
        started = true;
    }
    static int loaded = 0;
    if (loaded != triangles || currentModel.faceCount != triangles) {
        currentModel = Mesh();
        putMeshInStore(torusMesh(triangles));
        loaded = currentModel.faceCount;
    }
    initViewState();
    initCutModes();
    scriptReset();
    currentView.viewAngleX = 35.0;
    return true;
}

double seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The camera turns a little every frame (as while the user drags or the view
// animates); off, the frames are those of a still view.
bool turning = true;

void frameCamera()
{
    glBindTexture(GL_TEXTURE_2D, textureIds[currentView.faceMode]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(currentView.panX, currentView.panY, currentView.cameraDistance, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    if (turning)
        currentView.viewAngleY += 0.13;
    glRotated(currentView.viewAngleY, 0.0, 1.0, 0.0);
    glRotated(currentView.viewAngleX, 1.0, 0.0, 0.0);
}

// ---- The reference: the plain draw of the same triangles

// Corners of every face (texture coordinate, position), filled once per mesh.
struct PlainCorner {
    float s, t, x, y, z;
};
std::vector<PlainCorner> plainCorners;
int plainFaces = -1;

void fillPlainCorners()
{
    if (plainFaces == currentModel.faceCount)
        return;
    plainCorners.resize(3 * static_cast<size_t>(currentModel.faceCount));
    const float fixed[3][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}};
    for (int f = 0; f < currentModel.faceCount; ++f) {
        const int corner[3] = {currentModel.faceA[f], currentModel.faceB[f], currentModel.faceC[f]};
        for (int k = 0; k < 3; ++k) {
            PlainCorner& c = plainCorners[3 * static_cast<size_t>(f) + static_cast<size_t>(k)];
            c.s = fixed[k][0];
            c.t = fixed[k][1];
            c.x = static_cast<float>(normalizedX(currentModel, corner[k]));
            c.y = static_cast<float>(normalizedY(currentModel, corner[k]));
            c.z = static_cast<float>(normalizedZ(currentModel, corner[k]));
        }
    }
    plainFaces = currentModel.faceCount;
}

void plainDraw()
{
    fillPlainCorners();
    glColor3d(0.8, 0.8, 0.8);
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(PlainCorner), &plainCorners[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(PlainCorner), &plainCorners[0].s);
    glDrawArrays(GL_TRIANGLES, 0, 3 * currentModel.faceCount);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_TEXTURE_2D);
    glColor3d(1.0, 1.0, 1.0);
}

// Seconds of one plain frame.
double plainFrame()
{
    const double start = seconds();
    frameCamera();
    plainDraw();
    glFinish();
    return seconds() - start;
}

void reportRates(benchmark::State& state, double ours, double reference, double mainSeconds)
{
    const double n = static_cast<double>(state.iterations());
    state.counters["fps"] = n / ours;
    state.counters["plain_fps"] = n / reference;
    state.counters["ratio"] = reference / ours;
    // The calling thread's own work per frame; GL's rasterizer threads and our
    // second thread run beside it.
    state.counters["main_ms"] = 1000.0 * mainSeconds / n;
    state.counters["triangles"] = currentModel.faceCount;
}

// ---- Faces, faces and edges

void facesOnly() { drawFaces(currentModel); }
void facesAndEdges()
{
    drawFaces(currentModel);
    drawEdges(currentModel);
}

template <void (*draw)()> void layerFrames(benchmark::State& state)
{
    if (!prepare(static_cast<int>(state.range(0)))) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    currentView.withTransparency = state.range(1) != 0;
    turning = state.range(2) == 0;
    // One frame of each first: shader compilation and the first touch of every buffer are not counted.
    frameCamera();
    draw();
    glFinish();
    plainFrame();
    double ours = 0.0, reference = 0.0, main = 0.0;
    for (auto _ : state) {
        const double start = seconds(), mainStart = threadSeconds();
        frameCamera();
        draw();
        glFinish();
        const double took = seconds() - start;
        main += threadSeconds() - mainStart;
        ours += took;
        reference += plainFrame();
        state.SetIterationTime(took);
    }
    reportRates(state, ours, reference, main);
    if (draw == facesAndEdges)
    turning = true;
}

// ---- Cut modes

// Switches on the cut mode of the kind (as its menu command does) and puts the cursor on the model.
void enterCutMode(int kind)
{
    if (kind == cutKindVertex)
        toggleVertexCut();
    else if (kind == cutKindEdge)
        toggleEdgeCut();
    else
        toggleFaceCut();
    scriptViewOriginX = scriptViewOriginY = 0;
    scriptCursorX = viewSize / 2 + 37;
    scriptCursorY = viewSize / 2 - 101;
}

void cutHoverFrames(benchmark::State& state)
{
    if (!prepare(static_cast<int>(state.range(0)))) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    if (buildTopology(currentModel) != outcomeOk) {
        state.SkipWithError("no topology");
        return;
    }
    enterCutMode(static_cast<int>(state.range(1)));
    // The first frames settle the line width the boundary layer leaves.
    for (int k = 0; k < 3; ++k) {
        interaction.picked = renderFrame(currentModel, interaction);
        glFinish();
    }
    const double startAngle = currentView.viewAngleY;
    plainFrame();
    currentView.viewAngleY = startAngle;
    double ours = 0.0, reference = 0.0, main = 0.0;
    for (auto _ : state) {
        const double start = seconds(), mainStart = threadSeconds();
        interaction.picked = renderFrame(currentModel, interaction);
        glFinish();
        const double took = seconds() - start;
        main += threadSeconds() - mainStart;
        ours += took;
        // The plain frame turns the camera; the hover frames keep theirs.
        const double angle = currentView.viewAngleY;
        reference += plainFrame();
        currentView.viewAngleY = angle;
        state.SetIterationTime(took);
    }
    reportRates(state, ours, reference, main);
    state.counters["picked"] = interaction.picked.element;
    initCutModes();
}

void cutAndUndo(benchmark::State& state)
{
    if (!prepare(static_cast<int>(state.range(0)))) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    if (buildTopology(currentModel) != outcomeOk) {
        state.SkipWithError("no topology");
        return;
    }
    double cut = 0.0, undo = 0.0, reference = 0.0;
    int made = 0;
    for (auto _ : state) {
        state.PauseTiming();
        enterCutMode(cutKindFace);
        interaction.picked = renderFrame(currentModel, interaction);
        glFinish();
        const int faces = currentModel.faceCount;
        state.ResumeTiming();
        const double start = seconds();
        applyCut();
        const double middle = seconds();
        undoCut();
        const double end = seconds();
        state.PauseTiming();
        made += currentModel.faceCount == faces && !interaction.faceCutMode;
        cut += middle - start;
        undo += end - middle;
        reference += plainFrame();
        scriptReset();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["cut_ms"] = 1000.0 * cut / n;
    state.counters["undo_ms"] = 1000.0 * undo / n;
    state.counters["plain_frame_ms"] = 1000.0 * reference / n;
    state.counters["ratio"] = (cut + undo) / reference;
    state.counters["cuts_undone"] = made;
    state.counters["triangles"] = currentModel.faceCount;
    initCutModes();
}
} // namespace

// Arguments: triangles, transparency, still camera.
BENCHMARK(layerFrames<facesOnly>)->Name("Faces")->Args({100000, 0, 0})->Args({1000000, 0, 0})
    ->Args({1000000, 1, 0})->Args({1000000, 0, 1})
    ->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);
BENCHMARK(layerFrames<facesAndEdges>)->Name("FacesEdges")->Args({100000, 0, 0})->Args({1000000, 0, 0})
    ->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);
// Arguments: triangles, cut kind.
BENCHMARK(cutHoverFrames)->Name("CutHover")
    ->Args({100000, cutKindVertex})->Args({100000, cutKindEdge})->Args({100000, cutKindFace})
    ->Args({1000000, cutKindVertex})->Args({1000000, cutKindEdge})->Args({1000000, cutKindFace})
    ->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);
BENCHMARK(cutAndUndo)->Name("CutAndUndo")->Args({100000})->Args({1000000})
    ->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
