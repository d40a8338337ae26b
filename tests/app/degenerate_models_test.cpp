// Models that open but are degenerate go through every command without
// ending the program: each command either works or is refused with its box,
// and a refused edit leaves the model exactly as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/cut_modes.h"
#include "app/main_window.h"
#include "app/menu_commands.h"
#include "app/model_commands.h"
#include "app/session.h"
#include "model/cutting.h"
#include "tests/support/platform_script.h"
#include "render/layers.h"
#include "render/view_state.h"
#include "tests/support/egl_context.h"
#include "tests/support/store_invariants.h"

namespace {

struct ProcessEnd {
    int status;
};

// The whole store as a user would compare it, with the (u,v) pairs.
struct Snapshot {
    int vertices, faces, edges;
    std::vector<double> x, y, z, u, v;
    std::vector<int> a, b, c, ea, eb;
    bool built, uv;

    static Snapshot take()
    {
        auto first = [](const auto& array, int n) {
            return std::vector<typename std::decay_t<decltype(array)>::value_type>(array.begin(),
                                                                                  array.begin() + n);
        };
        const bool uvHeld = currentModel.uvComputed && static_cast<int>(currentModel.vertexU.size()) >= currentModel.vertexCount;
        return {currentModel.vertexCount,
                currentModel.faceCount,
                currentModel.edgeCount,
                first(currentModel.vertexX, currentModel.vertexCount),
                first(currentModel.vertexY, currentModel.vertexCount),
                first(currentModel.vertexZ, currentModel.vertexCount),
                uvHeld ? first(currentModel.vertexU, currentModel.vertexCount) : std::vector<double>{},
                uvHeld ? first(currentModel.vertexV, currentModel.vertexCount) : std::vector<double>{},
                first(currentModel.faceA, currentModel.faceCount),
                first(currentModel.faceB, currentModel.faceCount),
                first(currentModel.faceC, currentModel.faceCount),
                currentModel.topologyBuilt ? first(currentModel.edgeA, currentModel.edgeCount) : std::vector<int>{},
                currentModel.topologyBuilt ? first(currentModel.edgeB, currentModel.edgeCount) : std::vector<int>{},
                currentModel.topologyBuilt,
                currentModel.uvComputed};
    }
    // Coordinates compared bit for bit, NaN included.
    bool operator==(const Snapshot& o) const
    {
        auto same = [](const std::vector<double>& p, const std::vector<double>& q) {
            if (p.size() != q.size())
                return false;
            for (size_t i = 0; i < p.size(); ++i)
                if (!(p[i] == q[i] || (std::isnan(p[i]) && std::isnan(q[i]))))
                    return false;
            return true;
        };
        return vertices == o.vertices && faces == o.faces && edges == o.edges && same(x, o.x) && same(y, o.y) &&
               same(z, o.z) && same(u, o.u) && same(v, o.v) && a == o.a && b == o.b && c == o.c && ea == o.ea &&
               eb == o.eb && built == o.built && uv == o.uv;
    }
};

class DegenerateModels : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(makeOffscreenContext(64, 64));
        resetProgramState();
        scriptReset();
        platformExitHook = [](int status) { throw ProcessEnd{status}; };
    }
    void TearDown() override { platformExitHook = nullptr; }

    static std::string writeModel(const std::string& name, const std::string& text)
    {
        const std::string path = ::testing::TempDir() + name;
        std::ofstream(path) << text;
        return path;
    }

    // Runs one command; fails the test if it ends the program or breaks the
    // store, or if an edit refused with a box changed the model.
    static void run(const std::string& what, void (*command)())
    {
        SCOPED_TRACE(what);
        const Snapshot before = Snapshot::take();
        const size_t boxes = scriptBoxes.size();
        try {
            command();
        } catch (const ProcessEnd& end) {
            ADD_FAILURE() << "the program ended with status " << end.status << ": "
                          << (scriptBoxes.empty() ? "" : scriptBoxes.back().text);
            return;
        }
        EXPECT_EQ(storeInvariantFault(), "");
        for (size_t i = boxes; i < scriptBoxes.size(); ++i)
            if (scriptBoxes[i].text.find("n'est pas possible : ") != std::string::npos) {
                refusals.push_back(scriptBoxes[i].text);
                EXPECT_TRUE(Snapshot::take() == before) << "refused, yet the model changed: " << scriptBoxes[i].text;
            }
    }

    static inline std::vector<std::string> refusals;
};

void subdivide() { onMenuCommand(cmdSubdivide); }
void showUvPlane() { onMenuCommand(cmdShowUvPlane); }
void showBoundary() { onMenuCommand(cmdShowBoundary); }
void statistics() { onMenuCommand(cmdStatistics); }

// Every element of the given kind clicked in turn in its mode, each cut followed by Enter.
template <int kind> void cutEverything()
{
    const int commands[4] = {0, cmdCutVertex, cmdCutEdge, cmdCutFace};
    const int count = kind == cutKindVertex ? currentModel.vertexCount : kind == cutKindEdge ? currentModel.edgeCount : currentModel.faceCount;
    for (int i = 0; i < count + 1; ++i) {
        if (kind == cutKindVertex ? interaction.vertexCutMode == 0 : kind == cutKindEdge ? interaction.edgeCutMode == 0 : interaction.faceCutMode == 0)
            onMenuCommand(commands[kind]);
        interaction.picked.kind = kind;
        interaction.picked.element = i;
        applyCut();
        undoCut();
    }
}

TEST_F(DegenerateModels, EveryCommandWorksOrIsRefusedWithItsBox)
{
    const std::vector<std::pair<std::string, std::string>> models = {
        // A triangle that names one vertex twice, beside a sound one.
        {"repeated_corner.off", "OFF\n4 2 0\n0 0 0\n1 0 0\n0 1 0\n1 1 0\n3 0 0 2\n3 1 3 2\n"},
        // Zero-area triangles: three corners on one line, and two at one point.
        {"zero_area.off", "OFF\n5 3 0\n0 0 0\n1 0 0\n2 0 0\n0 1 0\n0 1 0\n3 0 1 2\n3 0 1 3\n3 0 3 4\n"},
        // Two triangles that share only a vertex.
        {"bowtie.off", "OFF\n5 2 0\n0 0 0\n1 0 0\n0 1 0\n-1 0 0\n0 -1 0\n3 0 1 2\n3 0 3 4\n"},
        // Coincident vertices in a small open fan.
        {"coincident.off", "OFF\n5 3 0\n0 0 0\n1 0 0\n1 0 0\n0 1 0\n0 0 1\n3 0 1 3\n3 0 2 4\n3 0 3 4\n"},
    };
    for (const auto& [name, text] : models) {
        SCOPED_TRACE(name);
        resetProgramState();
        scriptReset();
        try {
            loadModelFile(writeModel(name, text));
        } catch (const ProcessEnd&) {
            ADD_FAILURE() << "the model does not open";
            continue;
        }
        ASSERT_TRUE(currentModel.modelLoaded);
        run("vertex cuts", cutEverything<cutKindVertex>);
        run("edge cuts", cutEverything<cutKindEdge>);
        run("face cuts", cutEverything<cutKindFace>);
        run("(u,v) plane", showUvPlane);
        run("(u,v) plane off", showUvPlane);
        run("boundary", showBoundary);
        run("subdivision", subdivide);
        run("second subdivision", subdivide);
        run("statistics", statistics);
        run("vertex cuts after subdivision", cutEverything<cutKindVertex>);
    }
    // The repeated corner is refused by the builder after a subdivision, and
    // the user is told so.
    EXPECT_NE(std::find(refusals.begin(), refusals.end(),
                        "ERREUR  !!!\n\nLa subdivision n'est pas possible : Une arête est erronée"),
              refusals.end());
}

} // namespace
