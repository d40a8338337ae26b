// The face layer. Every face is one triangle whose normal is turned toward
// the viewer, lit by light 0 and textured through the texture bound for the frame.
//
// The picture is that of one lit polygon per face in immediate mode. Here the
// light GL would compute at each corner of each face is computed on the CPU,
// with the light, material and colour GL holds, and the faces go to GL as
// unlit coloured triangles in a few large vertex-array draws, in the same
// order, with the same single-precision positions and each triangle's corners
// in the order GL rasterizes a polygon's, which gives the same fragments; the
// colours differ from GL's own by rounding only.
//
// What does not change between frames (corner positions and texture
// coordinates, unit face normals) is kept and rebuilt only when something it
// is made of changed: the mesh's revision (and whether its (u,v) exist) and
// the view values are compared with what the last build read; every change of
// the mesh comes with a new revision, so none can be missed. In each
// frame only the light is computed: per vertex its direction and half vector
// (both cores), then per corner the colour, slice by slice on a second thread
// while this one hands the slices already lit to GL.
#include <GL/gl.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#include "model/mesh.h"
#include "render/face_light.h"
#include "render/layer_support.h"
#include "render/layers.h"
#include "render/textures.h"
#include "render/view_points.h"
#include "texture/texture.h"

namespace {
// One triangle corner as GL reads it: texture coordinate, position.
struct Corner {
    float s, t;
    float x, y, z;
};

// Faces handed to GL per draw call (about 1 MB of corners and colours).
constexpr int facesPerDraw = 32768;
// Below this many faces the light is computed on this thread alone.
constexpr int facesForTwoThreads = 20000;

// How the corners of a face get their texture coordinates.
enum TexCoordRule { texCoordsFromUv, texCoordsFixed, texCoordsNone };

// ---- What is kept between frames

// Three corners per drawable face, in face order (each face's corners as Q, R, P).
std::vector<Corner> corners;
// The vertex of each corner, in the same order.
std::vector<int> cornerVertex;
// Per drawable face: its unit normal in view coordinates, before turning it
// toward the viewer; 0 0 0 for a face with no direction (collinear corners).
std::vector<double> faceNormals;
// The view points of the build in single precision, x y z per vertex.
std::vector<float> points;
// Drawable faces in the arrays above.
int drawnFaces = 0;

// What the last build read: the mesh's revision (and whether its (u,v) were
// there, since they come without a new revision) and the view values.
struct BuildValues {
    std::uint64_t revision;
    bool uvComputed;
    int vertices, faces;
    double scale, centerX, centerY, centerZ, radius;
    int rule;
    double tiling;
    bool operator==(const BuildValues&) const = default;
};
BuildValues builtValues = {};
bool anyBuild = false;

// ---- What each frame computes

// Per vertex: the direction to the light (x y z), the attenuation, the half
// vector with the viewer (x y z), unused.
std::vector<float> vertexLight;
// RGBA of each corner, 0 .. 65535.
std::vector<std::uint16_t> cornerColors;
// Slices of faces whose colours are ready, and halves of the vertex pass done.
std::atomic<int> slicesLit{0};
std::atomic<int> vertexHalvesDone{0};

// The light of the colours in cornerColors, and the build they belong to.
FrameLight litWith = {};
int litBuild = -1;
// Builds of the kept arrays so far.
int builds = 0;

template <typename T> T* sized(std::vector<T>& array, size_t n)
{
    if (array.size() < n)
        array.resize(n);
    return array.data();
}

// The kept arrays describe the mesh and the view values as they are now.
bool arraysCurrent(const BuildValues& values) { return anyBuild && values == builtValues; }

// Rebuilds the kept arrays from the mesh, for faces 0 .. faces-1 whose corners are among the first `vertices`.
void buildArrays(const Mesh& mesh, const BuildValues& values)
{
    const int vertices = values.vertices, faces = values.faces;
    const TexCoordRule rule = static_cast<TexCoordRule>(values.rule);
    const double s = values.tiling;
    const float fs = static_cast<float>(s);
    float* p = sized(points, 3 * static_cast<size_t>(vertices));
    const double* v = viewPointsOf(mesh, vertices);
    for (size_t k = 0; k < 3 * static_cast<size_t>(vertices); ++k)
        p[k] = static_cast<float>(v[k]);
    Corner* out = sized(corners, 3 * static_cast<size_t>(faces));
    int* ids = sized(cornerVertex, 3 * static_cast<size_t>(faces));
    double* normals = sized(faceNormals, 3 * static_cast<size_t>(faces));
    const int* fa = mesh.faceA.data();
    const int* fb = mesh.faceB.data();
    const int* fc = mesh.faceC.data();
    const double* u = mesh.vertexU.data();
    const double* uv = mesh.vertexV.data();
    int drawn = 0;
    for (int f = 0; f < faces; ++f) {
        const int a = fa[f], b = fb[f], c = fc[f];
        if (!isDrawableFace(a, b, c, vertices))
            continue;
        const double* P = v + 3 * a;
        const double* Q = v + 3 * b;
        const double* R = v + 3 * c;
        double n[3];
        faceNormal(P, Q, R, n);
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        double* normal = normals + 3 * drawn;
        for (int k = 0; k < 3; ++k)
            normal[k] = length > 0.0 ? n[k] / length : 0.0;
        // GL rasterizes a three-corner polygon as the triangle Q, R, P; handing the
        // corners over in that order gives the very same fragments.
        const int order[3] = {b, c, a};
        Corner* corner = out + 3 * drawn;
        for (int k = 0; k < 3; ++k) {
            ids[3 * drawn + k] = order[k];
            corner[k].x = p[3 * order[k]];
            corner[k].y = p[3 * order[k] + 1];
            corner[k].z = p[3 * order[k] + 2];
            corner[k].s = corner[k].t = 0.0f;
            if (rule == texCoordsFromUv) {
                corner[k].s = static_cast<float>((1.0 + u[order[k]]) * s / 2.0);
                corner[k].t = static_cast<float>((1.0 + uv[order[k]]) * s / 2.0);
            }
        }
        if (rule == texCoordsFixed) {
            // (0, 0) at P, (s, 0) at Q, (s, s) at R.
            corner[0].s = fs;
            corner[1].s = fs;
            corner[1].t = fs;
        }
        ++drawn;
    }
    drawnFaces = drawn;
    builtValues = values;
    anyBuild = true;
    ++builds;
}

// Reads the light and material GL holds; `color` is the colour the faces are
// drawn in, which the colour material makes their ambient and diffuse colour.
FrameLight readLight(const double color[4])
{
    FrameLight light{};
    double m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    // Column-major: row r, column c is m[4 c + r]. Rows 2 and 3 summed give the eye's +z.
    light.w[0] = m[2] + m[3];
    light.w[1] = m[6] + m[7];
    light.w[2] = m[10] + m[11];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            light.model[4 * r + c] = static_cast<float>(m[4 * c + r]);
    // Normals go through the inverse transpose of the 3 x 3 part: its cofactors over the determinant.
    const double a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6], i = m[10];
    const double cof[9] = {e * i - f * h, f * g - d * i, d * h - e * g, c * h - b * i, a * i - c * g,
                           b * g - a * h, b * f - c * e, c * d - a * f, a * e - b * d};
    const double det = a * cof[0] + b * cof[1] + c * cof[2];
    for (int k = 0; k < 9; ++k)
        light.normal[k] = static_cast<float>(det != 0.0 ? cof[k] / det : 0.0);

    GLfloat lightAmbient[4] = {}, lightDiffuse[4] = {}, lightSpecular[4] = {};
    GLfloat materialSpecular[4] = {}, materialEmission[4] = {}, sceneAmbient[4] = {};
    GLfloat shininess = 0.0f;
    glGetLightfv(GL_LIGHT0, GL_POSITION, light.position);
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glGetLightfv(GL_LIGHT0, GL_SPECULAR, lightSpecular);
    glGetLightfv(GL_LIGHT0, GL_CONSTANT_ATTENUATION, &light.attenuation[0]);
    glGetLightfv(GL_LIGHT0, GL_LINEAR_ATTENUATION, &light.attenuation[1]);
    glGetLightfv(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, &light.attenuation[2]);
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, materialSpecular);
    glGetMaterialfv(GL_FRONT, GL_EMISSION, materialEmission);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, sceneAmbient);
    const bool lightOn = glIsEnabled(GL_LIGHT0);
    for (int k = 0; k < 3; ++k) {
        const float materialColor = static_cast<float>(color[k]);
        light.base[k] = materialEmission[k] + materialColor * sceneAmbient[k];
        light.ambient[k] = lightOn ? materialColor * lightAmbient[k] : 0.0f;
        light.diffuse[k] = lightOn ? materialColor * lightDiffuse[k] : 0.0f;
        light.specular[k] = lightOn ? materialSpecular[k] * lightSpecular[k] : 0.0f;
    }
    light.shininess = shininess;
    light.alpha = static_cast<float>(color[3]);
    return light;
}

// Light of vertices first .. last-1, and of the corners of drawn faces first .. last-1.
void lightVertexRange(const FrameLight& light, int first, int last)
{
    lightVertices(light, points.data(), vertexLight.data(), first, last);
}
void lightFaceRange(const FrameLight& light, int first, int last)
{
    lightCorners(light, faceNormals.data(), cornerVertex.data(), vertexLight.data(), cornerColors.data(), first,
                 last);
}

// The second thread's share of a frame: the upper half of the vertices, then
// (once both halves are done) the corner colours slice by slice.
void lightOnSecondThread(const FrameLight& light, int vertices, int half, int slices)
{
    lightVertexRange(light, half, vertices);
    vertexHalvesDone.fetch_add(1, std::memory_order_acq_rel);
    for (int done = vertexHalvesDone.load(std::memory_order_acquire); done < 2;
         done = vertexHalvesDone.load(std::memory_order_acquire))
        vertexHalvesDone.wait(done, std::memory_order_acquire);
    for (int k = 0; k < slices; ++k) {
        lightFaceRange(light, k * facesPerDraw, std::min(drawnFaces, (k + 1) * facesPerDraw));
        slicesLit.store(k + 1, std::memory_order_release);
        slicesLit.notify_one();
    }
}

// Draws the slices of drawn faces; when `light` is given, computes their
// colours first, handing each slice to GL as soon as it is lit.
void lightAndDraw(const FrameLight* light, int vertices)
{
    const int slices = (drawnFaces + facesPerDraw - 1) / facesPerDraw;
    std::thread second;
    if (light && drawnFaces >= facesForTwoThreads) {
        slicesLit.store(0);
        vertexHalvesDone.store(0);
        try {
            second = std::thread(lightOnSecondThread, std::cref(*light), vertices, vertices / 2, slices);
        } catch (const std::system_error&) {
        }
    }
    if (second.joinable()) {
        lightVertexRange(*light, 0, vertices / 2);
        vertexHalvesDone.fetch_add(1, std::memory_order_acq_rel);
        vertexHalvesDone.notify_one();
    } else if (light) {
        lightVertexRange(*light, 0, vertices);
        lightFaceRange(*light, 0, drawnFaces);
    }
    for (int k = 0; k < slices; ++k) {
        if (second.joinable())
            for (int ready = slicesLit.load(std::memory_order_acquire); ready <= k;
                 ready = slicesLit.load(std::memory_order_acquire))
                slicesLit.wait(ready, std::memory_order_acquire);
        // In slices: GL copies client arrays into its own memory for each draw,
        // and a slice of moderate size reuses that memory instead of mapping fresh pages.
        const int first = k * facesPerDraw;
        glDrawArrays(GL_TRIANGLES, 3 * first, 3 * (std::min(drawnFaces, first + facesPerDraw) - first));
    }
    if (second.joinable())
        second.join();
}

// Texels of the bound texture, read back to see whether it has one colour.
std::vector<std::uint32_t> texels;

// The bound texture is complete, modulates the colour, and has one colour all
// over (the black and the uniform-colour textures): then every fragment is
// the interpolated colour times that colour, which the corners can carry
// themselves. Sets texel to it (0 .. 1).
bool boundTextureHasOneColour(float texel[4])
{
    GLint env = 0, minFilter = 0, wrapS = 0, wrapT = 0, width = 0, height = 0, border = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_BORDER, &border);
    if (env != GL_MODULATE || (minFilter != GL_LINEAR && minFilter != GL_NEAREST) || wrapS != GL_REPEAT ||
        wrapT != GL_REPEAT || border != 0 || width <= 0 || height <= 0 || width > 4096 || height > 4096)
        return false;
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::uint32_t* p = sized(texels, n);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, p);
    for (size_t i = 1; i < n; ++i)
        if (p[i] != p[0])
            return false;
    unsigned char rgba[4];
    std::memcpy(rgba, p, 4);
    for (int k = 0; k < 4; ++k)
        texel[k] = static_cast<float>(rgba[k]) / 255.0f;
    return true;
}
} // namespace

void drawFaces(const Mesh& mesh)
{
    const double s = textureTiling / 256.0;
    const bool texturing = currentView.faceMode != faceModeImage || mesh.uvComputed;
    const double color[4] = {currentView.withTransparency ? 0.5 : 0.8, currentView.withTransparency ? 0.5 : 0.8,
                             currentView.withTransparency ? 0.5 : 0.8, currentView.withTransparency ? 0.5 : 1.0};
    glColor4d(color[0], color[1], color[2], color[3]);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    if (currentView.withTransparency) {
        glDepthMask(GL_FALSE);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    }
    glPushMatrix();

    const int vertices = drawableVertexCount(mesh);
    const int faces = drawableFaceCount(mesh);
    const bool uvUsable = mesh.uvComputed && mesh.vertexU.size() >= static_cast<size_t>(vertices) &&
                          mesh.vertexV.size() >= static_cast<size_t>(vertices);
    TexCoordRule rule = texCoordsNone;
    if (currentView.faceMode == faceModeImage && textureImages.textureLoaded && uvUsable)
        rule = texCoordsFromUv;
    else if (currentView.faceMode != faceModeImage || textureImages.textureLoaded)
        rule = texCoordsFixed;

    float texel[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const bool folded = texturing && boundTextureHasOneColour(texel);
    if (texturing && !folded)
        glEnable(GL_TEXTURE_2D);
    if (faces > 0) {
        const BuildValues values = {mesh.revision,          mesh.uvComputed,     vertices,
                                    faces,                  currentView.modelScale, mesh.modelCenter[0],
                                    mesh.modelCenter[1],    mesh.modelCenter[2], viewRadius(mesh),
                                    static_cast<int>(rule), rule == texCoordsNone ? 0.0 : s};
        if (!arraysCurrent(values))
            buildArrays(mesh, values);
        FrameLight light = readLight(color);
        std::copy(texel, texel + 4, light.texel);
        const bool black = texel[0] == 0.0f && texel[1] == 0.0f && texel[2] == 0.0f;
        const GLsizei stride = sizeof(Corner);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, stride, &corners[0].x);
        if (black) {
            // Black texels: every fragment is black whatever the light.
            glColor4f(0.0f, 0.0f, 0.0f, light.alpha * texel[3]);
        } else {
            sized(vertexLight, 8 * static_cast<size_t>(vertices));
            sized(cornerColors, 12 * static_cast<size_t>(drawnFaces));
            glEnableClientState(GL_COLOR_ARRAY);
            glColorPointer(4, GL_UNSIGNED_SHORT, 0, cornerColors.data());
        }
        if (rule != texCoordsNone && !folded) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, stride, &corners[0].s);
        }
        // The colours of the last frame serve again while the camera and the light stay.
        const bool relight = !black && !(litBuild == builds && light == litWith);
        lightAndDraw(relight ? &light : nullptr, vertices);
        if (relight) {
            litWith = light;
            litBuild = builds;
        }
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }

    glPopMatrix();
    if (currentView.withTransparency) {
        glColor4d(1.0, 1.0, 1.0, 1.0);
        glDisable(GL_BLEND);
        glDepthMask(GL_TRUE);
    }
    if (texturing)
        glDisable(GL_TEXTURE_2D);
    glColor3d(1.0, 1.0, 1.0);
}
