// A user's editing session decoded from bytes: a small mesh, then a sequence
// of cut-mode commands, picks, clicks, Enter undos, subdivision steps and
// parameterizations, with the store's coherence checked after every step.
// Driven by the sequence fuzz target on its input and by the random editing
// test on pseudo-random bytes. Header only, so that both can use it.
#pragma once

#include <algorithm>
#include <array>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "render/view_state.h"
#include "app/menu_commands.h"
#include "app/model_commands.h"
#include "fuzz/fuzz_support.h"
#include "model/cutting.h"
#include "app/session.h"
#include "model/topology.h"
#include "param/parameterize.h"
#include "tests/support/platform_script.h"
#include "render/layers.h"
#include "render/mouse.h"
#include "tests/support/mesh_builder.h"
#include "tests/support/store_invariants.h"
#include "tests/support/subdivision_oracle.h"
#include "tests/support/topology_oracle.h"

namespace edit_sequence {

// Work limits that keep one session short: no subdivision past this many
// triangles, no parameterization past this many vertices, the literal
// topology comparison only up to this many triangles.
inline constexpr int subdivideFaceLimit = 400;
inline constexpr int parameterizeVertexLimit = 600;
inline constexpr int oracleFaceLimit = 200;
// Subdivision steps are compared with the literal step up to this many triangles.
inline constexpr int literalSubdivisionFaceLimit = 150;
// Longest session, in steps.
inline constexpr int stepLimit = 80;

using Vertices = std::vector<std::array<double, 3>>;
using Faces = std::vector<std::array<int, 3>>;

// Small height offsets, so that not every mesh is flat.
inline void lift(Vertices& v, int amount)
{
    if (amount == 0)
        return;
    for (size_t i = 0; i < v.size(); ++i)
        v[i][2] += static_cast<double>((i * static_cast<size_t>(amount)) % 17) / 17.0;
}

// A grid of n x m cells, two triangles each; a cell whose bit is set in holes is left out.
inline void gridMesh(int n, int m, unsigned holes, Vertices& v, Faces& f)
{
    for (int j = 0; j <= m; ++j)
        for (int i = 0; i <= n; ++i)
            v.push_back({double(i), double(j), 0.0});
    int cell = 0;
    for (int j = 0; j < m; ++j)
        for (int i = 0; i < n; ++i, ++cell) {
            if (cell < 32 && (holes >> cell & 1u))
                continue;
            int a = j * (n + 1) + i, b = a + 1, c = a + n + 1, d = c + 1;
            f.push_back({a, b, d});
            f.push_back({a, d, c});
        }
}

// A closed torus of n x m cells.
inline void torusMesh(int n, int m, Vertices& v, Faces& f)
{
    for (int j = 0; j < m; ++j)
        for (int i = 0; i < n; ++i) {
            double a = 2 * M_PI * i / n, b = 2 * M_PI * j / m;
            v.push_back({(2 + std::cos(b)) * std::cos(a), (2 + std::cos(b)) * std::sin(a), std::sin(b)});
        }
    for (int j = 0; j < m; ++j)
        for (int i = 0; i < n; ++i) {
            int a = j * n + i, b = j * n + (i + 1) % n, c = ((j + 1) % m) * n + i, d = ((j + 1) % m) * n + (i + 1) % n;
            f.push_back({a, b, d});
            f.push_back({a, d, c});
        }
}

// A disc of one centre vertex and a ring of r around it; closed into a double
// pyramid (a second apex below) when closed is set.
inline void fanMesh(int r, bool closed, Vertices& v, Faces& f)
{
    v.push_back({0, 0, 1});
    for (int i = 0; i < r; ++i)
        v.push_back({std::cos(2 * M_PI * i / r), std::sin(2 * M_PI * i / r), 0});
    for (int i = 0; i < r; ++i)
        f.push_back({0, 1 + i, 1 + (i + 1) % r});
    if (closed) {
        v.push_back({0, 0, -1});
        for (int i = 0; i < r; ++i)
            f.push_back({r + 1, 1 + (i + 1) % r, 1 + i});
    }
}

// Any few triangles on a few vertices.
inline void soupMesh(InputBytes& in, Vertices& v, Faces& f)
{
    int vertices = 3 + in.byte() % 12;
    int faces = 1 + in.byte() % 24;
    for (int i = 0; i < vertices; ++i)
        v.push_back({double(i % 4), double(i / 4), double(i % 3)});
    for (int k = 0; k < faces; ++k)
        f.push_back({in.byte() % vertices, in.byte() % vertices, in.byte() % vertices});
}

// Fills the store with the mesh the first bytes choose and builds its
// topology, as a load does. False when the builder refuses the mesh.
inline bool setUpMesh(InputBytes& in)
{
    Vertices v;
    Faces f;
    switch (in.byte() % 5) {
    case 0: {
        int n = 1 + in.byte() % 6, m = 1 + in.byte() % 6;
        unsigned holes = in.byte() % 4 == 0 ? static_cast<unsigned>(in.word()) << 16 | in.word() : 0u;
        gridMesh(n, m, holes, v, f);
        break;
    }
    case 1: torusMesh(3 + in.byte() % 5, 3 + in.byte() % 5, v, f); break;
    case 2: fanMesh(3 + in.byte() % 9, false, v, f); break;
    case 3: fanMesh(3 + in.byte() % 9, true, v, f); break;
    default: soupMesh(in, v, f); break;
    }
    lift(v, in.byte() % 4);
    if (f.empty())
        return false;
    setMesh(v, f);
    // Where a save writes ("session_n.off" next to it), one name per process.
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    currentModel.modelPath = std::string(folder) + "/vormelin-session-" + std::to_string(getpid()) + ".off";
    return buildTopology(currentModel) == outcomeOk;
}

// Empty when the built edge table is the one the literal build gives for the
// current triangles (checked on small meshes only).
inline std::string oracleFault()
{
    if (!currentModel.modelLoaded || !currentModel.topologyBuilt || currentModel.faceCount > oracleFaceLimit)
        return "";
    TopologyOracleResult r = topologyOracleOfStore();
    if (!r.fatalText.empty())
        return "the literal build refuses the built mesh: " + r.fatalText;
    if (r.vertexCount != currentModel.vertexCount || r.edgeCount != currentModel.edgeCount || r.boundaryEdgeCount != currentModel.boundaryEdgeCount ||
        r.boundaryLoopLength != currentModel.boundaryLoopLength)
        return "counts differ from the literal build";
    for (int e = 0; e < currentModel.edgeCount; ++e)
        if (r.edgeA[e] != currentModel.edgeA[e] || r.edgeB[e] != currentModel.edgeB[e] || r.edgeFace1[e] != currentModel.edgeFace1[e] ||
            r.edgeFace2[e] != currentModel.edgeFace2[e])
            return "edge " + std::to_string(e) + " differs from the literal build";
    return "";
}

// Everything that must hold between two steps; empty when it does.
inline std::string stepFault()
{
    std::string fault = storeInvariantFault();
    if (fault.empty())
        fault = cutStateFault();
    if (fault.empty())
        fault = oracleFault();
    if (fault.empty() && interaction.cutModeActive && !currentModel.modelLoaded)
        fault = "a cut mode is active without a model";
    return fault;
}

// An element index as a highlight would leave it: mostly one of the count's
// elements, sometimes -1 (nothing to choose from) or the count itself (a
// pick made on a mesh that has since shrunk).
inline int pickFrom(std::uint16_t word, int count)
{
    if (word == 0xffff)
        return -1;
    if (word == 0xfffe || count <= 0)
        return count;
    return word % count;
}

// One frame's mouse step with the left button and Enter as given.
inline void frame(bool leftDown, bool enterDown)
{
    scriptKeys[keyLeftButton] = leftDown;
    scriptKeys[keyEnter] = enterDown;
    sampleMouse();
    scriptKeys[keyLeftButton] = false;
    scriptKeys[keyEnter] = false;
}

// A click as the user makes it: frames with the button up go by before it
// (a mode switched on sees the button released), one frame with it down.
inline void click()
{
    frame(false, false);
    frame(true, false);
}

// The pick a highlight of the given kind (1 vertex, 2 edge, 3 face) makes.
inline void pick(int kind, std::uint16_t word)
{
    const int counts[4] = {currentModel.vertexCount, currentModel.vertexCount, currentModel.edgeCount, currentModel.faceCount};
    interaction.picked.kind = kind;
    interaction.picked.element = pickFrom(word, counts[kind]);
}

// The mesh as a user sees it: vertices with their coordinates, and the set
// of triangles (each turned to start at its smallest corner, orientation
// kept), whatever their order in the store.
struct MeshShape {
    int vertices = 0;
    std::vector<std::array<double, 3>> points;
    std::vector<std::array<int, 3>> triangles;

    static MeshShape take()
    {
        MeshShape m;
        m.vertices = currentModel.vertexCount;
        for (int i = 0; i < currentModel.vertexCount; ++i)
            m.points.push_back({currentModel.vertexX[i], currentModel.vertexY[i], currentModel.vertexZ[i]});
        for (int f = 0; f < currentModel.faceCount; ++f) {
            std::array<int, 3> t = {currentModel.faceA[f], currentModel.faceB[f], currentModel.faceC[f]};
            while (t[0] > t[1] || t[0] > t[2])
                t = {t[1], t[2], t[0]};
            m.triangles.push_back(t);
        }
        std::sort(m.triangles.begin(), m.triangles.end());
        return m;
    }
    bool operator==(const MeshShape& o) const
    {
        if (vertices != o.vertices || triangles != o.triangles)
            return false;
        for (size_t i = 0; i < points.size(); ++i)
            for (int k = 0; k < 3; ++k)
                if (!(points[i][k] == o.points[i][k]) && !(std::isnan(points[i][k]) && std::isnan(o.points[i][k])))
                    return false;
        return true;
    }
};

// Every value of the model store, to run two versions of a step from the same start.
struct StoreState {
    int vertices, faces, edges, boundaryEdges, loopLength;
    std::vector<double> x, y, z, u, v;
    std::vector<int> fa, fb, fc, ea, eb, e1, e2;
    bool loaded, built, uv, warned;

    static StoreState take()
    {
        return {currentModel.vertexCount, currentModel.faceCount, currentModel.edgeCount, currentModel.boundaryEdgeCount, currentModel.boundaryLoopLength, currentModel.vertexX, currentModel.vertexY,
                currentModel.vertexZ,     currentModel.vertexU,   currentModel.vertexV,   currentModel.faceA,             currentModel.faceB,              currentModel.faceC,   currentModel.edgeA,
                currentModel.edgeB,       currentModel.edgeFace1, currentModel.edgeFace2, currentModel.modelLoaded,       currentModel.topologyBuilt,      currentModel.uvComputed, interaction.closedWarned};
    }
    void putBack() const
    {
        currentModel.vertexCount = vertices, currentModel.faceCount = faces, currentModel.edgeCount = edges;
        currentModel.boundaryEdgeCount = boundaryEdges, currentModel.boundaryLoopLength = loopLength;
        currentModel.vertexX = x, currentModel.vertexY = y, currentModel.vertexZ = z, currentModel.vertexU = u, currentModel.vertexV = v;
        currentModel.faceA = fa, currentModel.faceB = fb, currentModel.faceC = fc;
        currentModel.edgeA = ea, currentModel.edgeB = eb, currentModel.edgeFace1 = e1, currentModel.edgeFace2 = e2;
        currentModel.modelLoaded = loaded, currentModel.topologyBuilt = built, currentModel.uvComputed = uv, interaction.closedWarned = warned;
    }
};

inline bool sameDoubles(const std::vector<double>& a, const std::vector<double>& b, int count)
{
    for (int i = 0; i < count; ++i)
        if (!(a[i] == b[i]) && !(std::isnan(a[i]) && std::isnan(b[i])))
            return false;
    return true;
}

inline bool sameInts(const std::vector<int>& a, const std::vector<int>& b, int count)
{
    return std::equal(a.begin(), a.begin() + count, b.begin());
}

// Empty when the store holds what the literal step left in expected.
inline std::string differenceFrom(const StoreState& expected)
{
    const StoreState& e = expected;
    if (currentModel.vertexCount != e.vertices || currentModel.faceCount != e.faces || currentModel.edgeCount != e.edges ||
        currentModel.boundaryEdgeCount != e.boundaryEdges || currentModel.boundaryLoopLength != e.loopLength)
        return "counts differ";
    if (currentModel.modelLoaded != e.loaded || currentModel.topologyBuilt != e.built || currentModel.uvComputed != e.uv || interaction.closedWarned != e.warned)
        return "flags differ";
    if (!sameDoubles(currentModel.vertexX, e.x, currentModel.vertexCount) || !sameDoubles(currentModel.vertexY, e.y, currentModel.vertexCount) ||
        !sameDoubles(currentModel.vertexZ, e.z, currentModel.vertexCount))
        return "coordinates differ";
    if (currentModel.uvComputed && (!sameDoubles(currentModel.vertexU, e.u, currentModel.vertexCount) || !sameDoubles(currentModel.vertexV, e.v, currentModel.vertexCount)))
        return "(u,v) pairs differ";
    if (!sameInts(currentModel.faceA, e.fa, currentModel.faceCount) || !sameInts(currentModel.faceB, e.fb, currentModel.faceCount) || !sameInts(currentModel.faceC, e.fc, currentModel.faceCount))
        return "triangles differ";
    if (currentModel.topologyBuilt && (!sameInts(currentModel.edgeA, e.ea, currentModel.edgeCount) || !sameInts(currentModel.edgeB, e.eb, currentModel.edgeCount) ||
                          !sameInts(currentModel.edgeFace1, e.e1, currentModel.edgeCount) || !sameInts(currentModel.edgeFace2, e.e2, currentModel.edgeCount)))
        return "edge tables differ";
    return "";
}

// The subdivision command; on small meshes the literal step is run first
// from the same store, and both must end alike: the same store and boxes, or,
// when the literal rebuild refuses the refined mesh, the command refused with
// its box and the store as it was. Returns a fault description, empty when none.
inline std::string subdivideAndCompare()
{
    if (!currentModel.modelLoaded || currentModel.faceCount > literalSubdivisionFaceLimit) {
        onMenuCommand(cmdSubdivide);
        return "";
    }
    const StoreState before = StoreState::take();
    const bool warned = interaction.closedWarned;
    const size_t boxes = scriptBoxes.size();
    const Outcome literalOutcome = subdivideLoopLiteral();
    const StoreState literal = StoreState::take();
    scriptBoxes.resize(boxes);
    before.putBack();
    onMenuCommand(cmdSubdivide);
    std::vector<std::string> stepBoxes;
    for (size_t i = boxes; i < scriptBoxes.size(); ++i)
        stepBoxes.push_back(scriptBoxes[i].text);
    const bool notice = literalOutcome == outcomeNoOpening || literalOutcome == outcomeDisconnected ||
                        literalOutcome == outcomeDegenerate || literalOutcome == outcomeUnsolved;
    if (literalOutcome != outcomeOk && !notice) {
        const std::string refusal =
            std::string("ERREUR  !!!\n\nLa subdivision n'est pas possible : ") + outcomeText(literalOutcome);
        if (stepBoxes != std::vector<std::string>{refusal})
            return std::string("the literal step is refused (") + outcomeText(literalOutcome) +
                   "), the command shows other boxes";
        std::string difference = differenceFrom(before);
        return difference.empty() ? "" : "a refused subdivision changed the model: " + difference;
    }
    std::vector<std::string> literalBoxes;
    if (notice && !(literalOutcome == outcomeNoOpening && warned))
        literalBoxes.push_back(outcomeText(literalOutcome));
    if (stepBoxes != literalBoxes)
        return "the step and the literal step show other boxes";
    std::string difference = differenceFrom(literal);
    return difference.empty() ? "" : "subdivision against the literal step: " + difference;
}

// How a session ended.
struct SessionResult {
    // Empty when every step kept the store coherent; otherwise the fault and the step that broke it.
    std::string fault;
    // Steps run.
    int steps = 0;
    // Steps after which the mesh had other vertex or triangle counts.
    int meshChanges = 0;
    // Cuts followed by Enter whose undo was compared with the mesh before the cut.
    int undosChecked = 0;
    // The program ended through its fatal box (only the opening of a faulty file may).
    bool endedFatally = false;
};

// One step decoded from the bytes. Returns a description of what was done
// (for failure reports); result.fault is set when the step itself went wrong.
inline std::string step(InputBytes& in, SessionResult& result)
{
    int op = in.byte() % 16;
    switch (op) {
    case 0: onMenuCommand(cmdCutVertex); return "vertex mode";
    case 1: onMenuCommand(cmdCutEdge); return "edge mode";
    case 2: onMenuCommand(cmdCutFace); return "face mode";
    case 3: {
        int kind = in.byte() % 4;
        pick(kind, in.word());
        return "pick kind " + std::to_string(kind) + " element " + std::to_string(interaction.picked.element);
    }
    case 4:
        click();
        frame(false, false);
        return "click";
    case 5: frame(true, false); return "button held";
    case 6: frame(false, false); return "button up";
    case 7: frame(false, true); return "Enter";
    case 8:
        if (currentModel.faceCount > subdivideFaceLimit)
            return "subdivision skipped";
        result.fault = subdivideAndCompare();
        return "subdivision";
    case 9:
        if (currentModel.vertexCount > parameterizeVertexLimit)
            return "parameterization skipped";
        parameterizeModel();
        return "parameterization";
    case 10:
        if (currentModel.vertexCount > parameterizeVertexLimit)
            return "boundary display skipped";
        onMenuCommand(cmdShowBoundary);
        return "boundary display";
    case 11: onMenuCommand(cmdStatistics); return "statistics";
    case 12: {
        // The usual gesture: the mode on, a pick of its kind, a click.
        int kind = 1 + in.byte() % 3;
        const int commands[4] = {0, cmdCutVertex, cmdCutEdge, cmdCutFace};
        const int* modes[4] = {nullptr, &interaction.vertexCutMode, &interaction.edgeCutMode, &interaction.faceCutMode};
        if (*modes[kind] == 0)
            onMenuCommand(commands[kind]);
        pick(kind, in.word());
        click();
        frame(false, false);
        return "cut kind " + std::to_string(kind) + " at " + std::to_string(interaction.picked.element);
    }
    case 13: {
        // Two edge clicks in a row, as an inner edge cut needs.
        if (interaction.edgeCutMode == 0)
            onMenuCommand(cmdCutEdge);
        pick(2, in.word());
        click();
        pick(2, in.word());
        click();
        frame(false, false);
        return "two edge clicks";
    }
    case 14: {
        // A click then Enter: a cut and its undo. With one mode on, a click
        // that cut must be undone by the Enter that follows, exactly.
        // The pick is of the kind of the mode on, as its highlight makes it.
        const int modesOn = interaction.vertexCutMode + interaction.edgeCutMode + interaction.faceCutMode;
        int kind = 1 + in.byte() % 3;
        if (modesOn == 1)
            kind = interaction.vertexCutMode ? 1 : interaction.edgeCutMode ? 2 : 3;
        pick(kind, in.word());
        const MeshShape before = MeshShape::take();
        const int facesBefore = currentModel.faceCount;
        click();
        const bool cut = currentModel.vertexCount != before.vertices || currentModel.faceCount != facesBefore;
        frame(false, true);
        if (cut && modesOn == 1) {
            ++result.undosChecked;
            if (!(MeshShape::take() == before))
                result.fault = "Enter after the cut does not give the mesh back";
        }
        return "click and Enter";
    }
    default:
        switch (in.byte() % 4) {
        case 2: {
            // The model saved, then the saved file opened in its place (a
            // model with no face left is not saved, and stays).
            const std::string before = currentModel.modelPath;
            onMenuCommand(cmdSaveModel);
            if (currentModel.modelPath == before)
                return "save refused";
            const std::string saved = currentModel.modelPath;
            scriptFileAnswers.push_back(saved);
            onMenuCommand(cmdOpenModel);
            std::remove(saved.c_str());
            return "save and open again";
        }
        case 3: onMenuCommand(cmdOpenModel); return "open cancelled";
        default: onMenuCommand(cmdShowAxes); return "another menu command";
        }
    }
}

// A whole session on the bytes. The caller resets the program state first.
// With trace set, every step is printed with the counts it leaves.
inline SessionResult runSession(InputBytes& in, bool trace = false)
{
    SessionResult result;
    if (!setUpMesh(in)) {
        result.fault = storeInvariantFault();
        return result;
    }
    result.fault = stepFault();
    if (!result.fault.empty()) {
        result.fault = "after loading: " + result.fault;
        return result;
    }
    std::string done;
    while (!in.done() && result.steps < stepLimit) {
        const int verticesBefore = currentModel.vertexCount, facesBefore = currentModel.faceCount;
        try {
            done = step(in, result);
        } catch (const FatalExit& exit) {
            result.endedFatally = true;
            if (trace)
                std::fprintf(stderr, "fatal: %s\n", lastFatalText().c_str());
            // Once a model is open, no command may end the program: every
            // edit is refused with a box instead, and the saved model reopens.
            result.fault = "step " + std::to_string(result.steps + 1) + " ended the program with status " +
                           std::to_string(exit.status) + ": " + lastFatalText();
            return result;
        }
        ++result.steps;
        result.meshChanges += currentModel.vertexCount != verticesBefore || currentModel.faceCount != facesBefore;
        if (trace)
            std::fprintf(stderr, "%3d %-28s V %d F %d E %d B %d L %d uv %d modes %d%d%d\n", result.steps, done.c_str(),
                         currentModel.vertexCount, currentModel.faceCount, currentModel.edgeCount, currentModel.boundaryEdgeCount, currentModel.boundaryLoopLength, currentModel.uvComputed,
                         interaction.vertexCutMode, interaction.edgeCutMode, interaction.faceCutMode);
        if (result.fault.empty())
            result.fault = stepFault();
        if (!result.fault.empty()) {
            result.fault = "step " + std::to_string(result.steps) + " (" + done + "): " + result.fault;
            return result;
        }
    }
    return result;
}

} // namespace edit_sequence
