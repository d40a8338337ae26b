// The builder against the literal build on many generated and random meshes:
// same numbering, same edge table order, same counts, same capacity.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <random>
#include <string>

#include "app/messages.h"
#include "model/off_file.h"
#include "app/session.h"
#include "model/topology.h"
#include "tests/support/platform_script.h"
#include "tests/model/topology_meshes.h"
#include "tests/support/topology_oracle.h"

namespace {
// Why the last text parsed was refused.
std::string lastReason;

class TopologyOracleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        currentModel = Mesh();
        scriptReset();
    }
};

TEST_F(TopologyOracleTest, GeneratedFamiliesMatch)
{
    for (int w = 2; w <= 6; ++w)
        for (int h = 2; h <= 5; ++h) {
            SCOPED_TRACE(testing::Message() << "grid " << w << " x " << h);
            expectBuildMatchesOracle(gridMesh(w, h));
            if (w >= 3 && h >= 3)
                expectBuildMatchesOracle(gridMesh(w, h, true, true));
            if (w >= 3)
                expectBuildMatchesOracle(gridMesh(w, h, true, false));
        }
    for (int n = 3; n <= 9; ++n)
        for (int m = 3; m <= 9; ++m) {
            SCOPED_TRACE(testing::Message() << "ring " << n << " / " << m);
            expectBuildMatchesOracle(annulusMesh(n, m));
        }
    // Vertices with many edges (their edges are found through a hash table).
    for (int n : {3, 31, 32, 33, 64, 200}) {
        expectBuildMatchesOracle(fanMesh(n, false));
        expectBuildMatchesOracle(fanMesh(n, true));
    }
    for (int genus = 1; genus <= 6; ++genus)
        expectBuildMatchesOracle(genusMesh(genus));
}

TEST_F(TopologyOracleTest, RandomManifoldMeshesMatch)
{
    std::mt19937 rng(20240611);
    for (int round = 0; round < 600; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        expectBuildMatchesOracle(randomMesh(rng));
        if (HasFatalFailure())
            return;
    }
}

// Triangles with a repeated corner are not checked by the builder; whatever
// table they give must still be the literal one.
TEST_F(TopologyOracleTest, RandomMeshesWithRepeatedCornersMatchWhenAccepted)
{
    std::mt19937 rng(77);
    int accepted = 0;
    for (int round = 0; round < 800; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const TestMesh mesh = randomMesh(rng, {true, true});
        loadMesh(mesh);
        const TopologyOracleResult expected = topologyOracleOfStore();
        if (!expected.fatalText.empty())
            continue;
        ++accepted;
        buildTopology(currentModel);
        expectStoreEquals(expected);
        if (HasFatalFailure())
            return;
    }
    EXPECT_GT(accepted, 100);
}

TEST_F(TopologyOracleTest, LargerRandomMeshesMatch)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 10; ++round) {
        TestMesh mesh;
        for (int p = 0; p < 6; ++p)
            appendMesh(mesh, randomMesh(rng));
        std::shuffle(mesh.faces.begin(), mesh.faces.end(), rng);
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << mesh.faces.size() << " triangles");
        expectBuildMatchesOracle(mesh);
    }
}

// The bundled models, read by the OFF parser, with what their comments promise.
TEST_F(TopologyOracleTest, SampleModelsMatch)
{
    struct Sample {
        const char* name;
        int boundaryLoop;
        int boundaryEdges;
    };
    for (const Sample& sample : {Sample{"cube.off", 0, 0}, Sample{"tore.off", 0, 0}, Sample{"calotte.off", -1, -1},
                                 Sample{"deux_trous.off", 14, 22}}) {
        SCOPED_TRACE(sample.name);
        std::ifstream in(std::string(SOURCE_DIR) + "/data/" + sample.name, std::ios::binary);
        ASSERT_TRUE(in.good());
        std::stringstream text;
        text << in.rdbuf();
        const std::string content = text.str();
        currentModel = Mesh();
        ASSERT_TRUE(parseModelText(content.c_str(), content.size(), currentModel, lastReason));
        const TopologyOracleResult expected = topologyOracleOfStore();
        buildTopology(currentModel);
        expectStoreEquals(expected);
        if (sample.boundaryLoop >= 0) {
            EXPECT_EQ(currentModel.boundaryLoopLength, sample.boundaryLoop);
            EXPECT_EQ(currentModel.boundaryEdgeCount, sample.boundaryEdges);
        } else {
            EXPECT_GT(currentModel.boundaryLoopLength, 0);
            EXPECT_EQ(currentModel.boundaryLoopLength, currentModel.boundaryEdgeCount);
        }
    }
}

// Refused meshes: a third triangle on an edge, a corner out of range, or a
// repeated corner that makes an edge appear three times. The builder must end
// with the same message as the literal build.
TEST_F(TopologyOracleTest, RandomRefusedMeshesGiveTheLiteralMessage)
{
    std::mt19937 rng(99);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    int refused = 0;
    for (int round = 0; refused < 24 && round < 1000; ++round) {
        TestMesh mesh = randomMesh(rng, {round % 3 == 2, true});
        const std::array<int, 3> f = mesh.faces[static_cast<size_t>(pick(0, static_cast<int>(mesh.faces.size()) - 1))];
        switch (round % 3) {
        case 0: // a new triangle on a side of an existing one, twice
            for (int copy = 0; copy < 2; ++copy)
                mesh.faces.insert(mesh.faces.begin() + pick(0, static_cast<int>(mesh.faces.size())),
                                  {f[1], f[0], mesh.vertexCount});
            ++mesh.vertexCount;
            break;
        case 1: // a corner out of range
            mesh.faces[static_cast<size_t>(pick(0, static_cast<int>(mesh.faces.size()) - 1))][pick(0, 2)] =
                pick(0, 1) ? mesh.vertexCount + pick(0, 3) : -1 - pick(0, 3);
            break;
        default:
            break;
        }
        loadMesh(mesh);
        const TopologyOracleResult expected = topologyOracleOfStore();
        if (expected.fatalText.empty())
            continue;
        ++refused;
        SCOPED_TRACE(testing::Message() << "round " << round << ": " << expected.fatalText);
        EXPECT_EQ(outcomeText(buildTopology(currentModel)), expected.fatalText);
        EXPECT_FALSE(currentModel.topologyBuilt);
    }
    EXPECT_EQ(refused, 24);
}

} // namespace
