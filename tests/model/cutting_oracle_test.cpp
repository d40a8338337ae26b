// The indexed fan walks against the literal full scans, on random meshes:
// grids and tori with triangles taken out, which gives holes, several pieces
// and vertices where several fans meet.
#include <random>

#include "app/cut_modes.h"
#include "model/cutting_internal.h"
#include "tests/model/cutting_oracle.h"
#include "tests/model/cutting_support.h"

namespace {

// A jittered grid of n x n cells, or a torus of n x n cells, less `holes` random triangles.
void buildRandomMesh(std::mt19937& rng, bool torus, int n, int holes)
{
    Vertices v;
    Faces f;
    std::uniform_real_distribution<double> jitter(-0.2, 0.2);
    if (torus) {
        torusMesh(n, n + 1, v, f);
    } else {
        for (int j = 0; j <= n; ++j)
            for (int i = 0; i <= n; ++i)
                v.push_back({i + jitter(rng), j + jitter(rng), jitter(rng)});
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                int a = j * (n + 1) + i, b = a + 1, c = a + n + 1, d = c + 1;
                if (rng() % 2) {
                    f.push_back({a, b, d});
                    f.push_back({a, d, c});
                } else {
                    f.push_back({a, b, c});
                    f.push_back({b, d, c});
                }
            }
    }
    for (int h = 0; h < holes && f.size() > 2; ++h)
        f.erase(f.begin() + static_cast<long>(rng() % f.size()));
    buildMesh(v, f);
}

class CutOracle : public CutTest, public ::testing::WithParamInterface<int> {
protected:
    // Runs the literal cut and the real one (two clicks when pending >= 0) from
    // the same mesh and compares what they leave.
    void compareCut(const StoreCopy& base, int pending, int e)
    {
        base.putBack();
        initCutModes();
        oracle::CutResult expected = oracle::cutEdge(e, pending);
        StoreCopy literal = StoreCopy::take();

        base.putBack();
        initCutModes();
        toggleEdgeCut();
        if (pending >= 0) {
            interaction.picked.element = pending;
            applyCut();
            ASSERT_EQ(interaction.cuts.pendingEdge, pending);
        }
        interaction.picked.element = e;
        applyCut();
        StoreCopy fast = StoreCopy::take();
        SCOPED_TRACE(testing::Message() << "pending " << pending << " edge " << e << " result " << expected);
        switch (expected) {
        case oracle::cutDone:
            EXPECT_TRUE(sameMesh(fast, literal));
            EXPECT_GT(interaction.cuts.cutAddedCount, 0);
            // The undo brings the mesh back as it was.
            undoCut();
            EXPECT_TRUE(sameMesh(StoreCopy::take(), base));
            ++done;
            break;
        case oracle::cutPending:
            EXPECT_TRUE(sameMesh(fast, base));
            EXPECT_EQ(interaction.cuts.pendingEdge, e);
            break;
        case oracle::cutRefused:
        case oracle::cutAbandoned:
            EXPECT_TRUE(sameMesh(fast, base));
            EXPECT_EQ(interaction.edgeCutMode, 0);
            abandoned += expected == oracle::cutAbandoned;
            break;
        }
    }
    int done = 0;
    int abandoned = 0;
};

TEST_P(CutOracle, IndexedWalksGiveTheLiteralResults)
{
    std::mt19937 rng(static_cast<unsigned>(GetParam()));
    bool torus = GetParam() % 3 == 0;
    int n = 3 + static_cast<int>(rng() % 4);
    int holes = static_cast<int>(rng() % 9);
    buildRandomMesh(rng, torus, n, holes);
    StoreCopy base = StoreCopy::take();

    // Every next-edge question a walk can ask, with the lists built for the moved vertices.
    std::uniform_int_distribution<int> anyEdge(-1, currentModel.edgeCount - 1);
    for (int cur = 0; cur < currentModel.edgeCount; ++cur)
        for (auto [m1, m2] :
             {std::pair{currentModel.edgeA[cur], -1}, std::pair{currentModel.edgeB[cur], -1}, std::pair{currentModel.edgeA[cur], currentModel.edgeB[cur]}}) {
            buildFanIndex(currentModel, m1, m2);
            for (int t : {currentModel.edgeFace1[cur], currentModel.edgeFace2[cur]}) {
                if (t < 0)
                    continue;
                for (int excluded : {-1, anyEdge(rng)})
                    ASSERT_EQ(fanNextEdge(currentModel, t, cur, excluded, m1, m2), oracle::nextEdge(t, cur, excluded, m1, m2));
            }
        }

    for (int e = 0; e < base.edgeCount; ++e)
        compareCut(base, -1, e);

    // Two-click cuts: pairs of edges around one vertex, and a few unrelated pairs.
    std::vector<std::vector<int>> around(base.vertexCount);
    for (int e = 0; e < base.edgeCount; ++e) {
        around[base.ea[e]].push_back(e);
        around[base.eb[e]].push_back(e);
    }
    for (int trial = 0; trial < 40; ++trial) {
        base.putBack();
        int p, e;
        if (trial % 4 == 3) {
            p = static_cast<int>(rng() % base.edgeCount);
            e = static_cast<int>(rng() % base.edgeCount);
        } else {
            const auto& list = around[rng() % base.vertexCount];
            p = list[rng() % list.size()];
            e = list[rng() % list.size()];
        }
        int lastEnd = -1;
        if (oracle::boundaryIncidences(p, lastEnd) > 1)
            continue; // a click on p would cut it at once
        compareCut(base, p, e);
    }
    RecordProperty("cuts", done);
    RecordProperty("abandoned", abandoned);
}

INSTANTIATE_TEST_SUITE_P(RandomMeshes, CutOracle, ::testing::Range(1, 41));

} // namespace
