// Frames per second of the face layer on a torus, offscreen on Mesa: the
// literal immediate-mode drawing against the vertex-array drawing the viewer
// uses. Each frame clears, sets a turning camera, draws the lit faces in the
// uniform colour and waits for GL to finish.
#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include "bench/support/mesh_generators.h"
#include "model/store.h"
#include "render/gl_setup.h"
#include "render/layers.h"
#include "render/view_state.h"
#include "tests/render/face_oracle.h"
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
    if (loaded != triangles) {
        putMeshInStore(torusMesh(triangles));
        loaded = triangles;
    }
    initViewState();
    viewAngleX = 35.0;
    return true;
}

void frameCamera()
{
    glBindTexture(GL_TEXTURE_2D, textureIds[faceMode]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(panX, panY, cameraDistance, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    viewAngleY += 0.13;
    glRotated(viewAngleY, 0.0, 1.0, 0.0);
    glRotated(viewAngleX, 1.0, 0.0, 0.0);
}

template <void (*draw)()> void facesFrames(benchmark::State& state)
{
    if (!prepare(static_cast<int>(state.range(0)))) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    withTransparency = state.range(1) != 0;
    for (auto _ : state) {
        frameCamera();
        draw();
        glFinish();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["triangles"] = faceCount;
}

void immediate() { drawFacesImmediate(); }
void arrays() { drawFaces(); }
} // namespace

// Arguments: triangles, transparency.
BENCHMARK(facesFrames<immediate>)->Name("FacesImmediate")->Args({100000, 0})->Args({1000000, 0})->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(facesFrames<arrays>)->Name("FacesArrays")->Args({100000, 0})->Args({1000000, 0})->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

BENCHMARK_MAIN();
